import { defineConfig } from "vitest/config";

export default defineConfig({
  base: "./",
  build: { outDir: "dist", emptyOutDir: true },
  test: {
    include: ["src/**/*.test.ts"], // e2e/ runs under node --test
    environment: "node",
    environmentMatchGlobs: [["src/model/**", "happy-dom"], ["src/ui/**", "happy-dom"]],
  },
});
