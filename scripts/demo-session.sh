#!/usr/bin/env bash
# Shows a short scripted session with the server: what the client sends
# ("> ") and what the server answers ("< ").
set -uo pipefail
server=${1:?usage: demo-session.sh SERVER}
request=$'version\nquit\n'

echo "Talking to $server"
printf '%s' "$request" | sed 's/^/> /'
reply=$(printf '%s' "$request" | "$server")
status=$?
printf '%s\n' "$reply" | sed 's/^/< /'
echo "(server exited with status $status)"
exit $status
