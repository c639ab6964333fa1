#pragma once
// The names of a system description and the objects they stand for, in
// nested scopes ("frames"): frame 0 holds the global names, every process
// opens a frame of its own for its local declarations and locations.

#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace orvela {

/// Kinds of symbol. The codes are fixed: guards, clock updates and the
/// property parser use the same numbers.
enum SymbolType : int {
  constantSymbol = 0, ///< data: the value (arrays: see `Symbol::values`)
  channelSymbol = 1,  ///< data: the channel id
  processSymbol = 2,  ///< data: frame (low 16 bits), position in the system (high 16 bits)
  locationSymbol = 3, ///< data: the location's index within its process
  clockSymbol = 4,    ///< data: the clock index
  integerSymbol = 5,  ///< data: the integer index
  arraySymbol = 6,    ///< data: the size of one dimension
  templateSymbol = 7, ///< data: the template's number within its description
};

/// Number of symbol kinds of a system description.
inline constexpr int symbolTypeCount = 8;

/// One named entry. An array a with dimensions d1, d2, ... is the chain of
/// entries a (array, d1), a[] (array, d2), ..., ending with the element entry
/// a[]...[] (one "[]" per dimension) whose type is the element kind and whose
/// data is the first element's index.
struct Symbol {
  static constexpr int nameSize = 64; ///< 63 significant characters and the NUL

  char name[nameSize]; ///< always NUL-terminated; longer names are cut
  int type = -1;       ///< a SymbolType, -1 when unset
  int id = -1;         ///< number among the symbols of its type, -1 when unset
  int data = -1;       ///< see SymbolType, -1 when unset
  int frame = -1;      ///< the frame that holds the symbol
  /// The element values of a constant array, in row-major order; shared with
  /// the expressions that read them, so a model outlives its symbol table.
  std::shared_ptr<const std::vector<int>> values;

  /// The unset record: empty name, type, id and data -1.
  Symbol();
  /// A record with the name (cut to 63 characters), type and data; id unset.
  Symbol(const char* name, int type, int data);

  /// False for the sentinel that lookups answer when nothing is found.
  bool found() const { return type != -1 || id != -1; }
};

/// The scoped symbol table. Lookups answer a reference to the stored record,
/// which stays valid while symbols are added (frames never move their
/// entries), or the sentinel when nothing is found.
class SymbolTable {
public:
  /// A table with one id counter per type, and frame 0 created and active.
  explicit SymbolTable(int types);

  /// Creates an empty frame, makes it the innermost active one and answers its
  /// index.
  unsigned int addFrame();
  /// Deactivates the innermost frame (the frame itself is kept). Frame 0
  /// stays active (asserted).
  void dropFrame();
  /// Makes an existing frame the innermost active one.
  void activateFrame(unsigned int frame);
  /// The innermost active frame.
  unsigned int currentFrame() const { return active_.back(); }
  /// The active frames, the outermost (frame 0) first.
  const std::vector<unsigned int>& activeFrames() const { return active_; }
  /// The symbols of `frame`, in order of addition.
  const std::deque<Symbol>& frameSymbols(unsigned int frame) const { return frames_.at(frame); }
  /// Number of frames ever created (frames are never deleted).
  unsigned int frameCount() const { return static_cast<unsigned int>(frames_.size()); }

  /// Adds a symbol to the innermost active frame, with the next id of its
  /// type. The id is consumed even when the addition fails. Answers false,
  /// adding nothing, when that frame already holds the name.
  bool addSymbol(const char* name, int type, int data);
  /// The same for a prepared record (its id and frame are overwritten).
  bool addSymbol(const Symbol& symbol);

  /// Searches the active frames from the innermost outwards, each frame in
  /// order of addition, comparing the first 63 characters (the significant ones).
  const Symbol& findSymbol(const char* name) const;
  /// Searches one frame only (any frame, active or not).
  const Symbol& findSymbolInFrame(const char* name, int frame) const;
  /// Searches frame 0 only.
  const Symbol& findGlobalSymbol(const char* name) const;
  /// Searches all frames in index order for the symbol with this type and id.
  const Symbol& findSymbol(int type, int id) const;

  /// The element entry of an array: follows a, a[], a[][], ... in the frame
  /// that holds `array` while the entries are arrays, appending each one's
  /// dimension size to `dimensions` (if given), and answers the first entry
  /// that is not an array (the sentinel when the chain is broken). For a
  /// symbol that is not an array, answers the symbol itself.
  const Symbol& elementOf(const Symbol& array, std::vector<int>* dimensions = nullptr) const;

  /// Fields of `findSymbol(name)`: -1 (or the empty name) when absent.
  int getType(const char* name) const { return findSymbol(name).type; }
  int getId(const char* name) const { return findSymbol(name).id; }
  int getData(const char* name) const { return findSymbol(name).data; }
  int getData(int type, int id) const { return findSymbol(type, id).data; }
  const char* getName(int type, int id) const { return findSymbol(type, id).name; }

  /// Sets the data of the found symbol; throws `Bug` "Could not find the
  /// specified symbol" when absent.
  void setData(const char* name, int data);
  void setData(int type, int id, int data);
  /// Attaches the element values of a constant array; throws `Bug` like
  /// `setData` when absent.
  void setValues(int type, int id, std::shared_ptr<const std::vector<int>> values);

  /// Back to the state after construction: frame 0 only, empty and active,
  /// every id counter 0.
  void clear();

  /// Diagnostic dump: per frame "frame: #index", then "<name,type,id,data> "
  /// per symbol; finally "Active frames:" and the active frame indices.
  friend std::ostream& operator<<(std::ostream& out, const SymbolTable& table);

private:
  Symbol* locate(const char* name);
  Symbol* locate(int type, int id);

  Symbol sentinel_;
  std::vector<unsigned int> active_;
  std::deque<std::deque<Symbol>> frames_;
  /// Per frame, the position of each symbol by its significant name, so that
  /// a lookup does not walk a frame of thousands of locations.
  std::deque<std::unordered_map<std::string, std::size_t>> positions_;
  std::vector<int> counters_;
};

} // namespace orvela
