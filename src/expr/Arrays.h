#pragma once
// Indexable blocks of values: arrays of constants and integer variables
// (scalars are arrays of one element). Multi-dimensional arrays are stored
// flat in row-major order; `refine` selects along one dimension at a time.

#include "expr/Expression.h"

#include <memory>
#include <vector>

namespace orvela {

/// Abstract array: `totalSize` integers as declared, of which the current
/// sub-array of `elementCount` integers starts at the index.
class Array : public AbstractExpression {
public:
  /// An unindexed array of `size` integers.
  explicit Array(int size);

  /// The element count: the number of integers the current sub-array holds.
  int getSize() const override;

  /// The flat offset of the current sub-array: the index expression evaluated
  /// on `state`, or 0 when the array has not been indexed.
  int getIndex(PublicState* state) const;
  /// True when there is no index expression or it is constant.
  bool isIndexConstant() const;
  /// Selects one element along the outermost remaining dimension, of size
  /// `dimension`: the element count is divided by it and index * (new element
  /// count) is added to the index expression. Indexing an array declared
  /// [d1][d2] with i and then j gives the flat index i*d2 + j.
  /// Throws `InputError` for a dimension below 1.
  void refine(const Pointer<Expression>& index, int dimension);

  int getTotalSize() const { return totalSize_; }
  const Pointer<Expression>& getIndexExpression() const { return index_; }

protected:
  /// Asserts that the current sub-array starting at `index` lies inside the
  /// declared array (the parser bounds every index with a Range).
  void checkBounds([[maybe_unused]] int index) const {
    assert(index >= 0 && index <= totalSize_ - elementCount_ && "array index out of bounds");
  }

private:
  Pointer<Expression> index_;
  int totalSize_;
  int elementCount_;
};

/// An array of constants. The values belong to the symbol table.
class ConstantArray : public Array {
public:
  /// `values` holds `size` integers and outlives the expression.
  ConstantArray(int* values, int size);
  /// An array over shared values, which the expression keeps alive.
  explicit ConstantArray(std::shared_ptr<const std::vector<int>> values);

  /// Visits only this node, not the index.
  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  /// Smallest and largest of all declared values, whatever the index.
  Interval getRange() const override;

  const int* getValues() const { return values_; }

private:
  std::shared_ptr<const std::vector<int>> owner_;
  const int* values_;
};

/// Integer variables of the state: `size` cells from position `base` of the
/// integer vector, each in the declared domain [lower, upper].
class Variable : public Array {
public:
  Variable(int base, int size, int lower, int upper);

  /// Visits only this node, not the index.
  void accept(ExpressionVisitor& visitor) override;
  void evaluate(PublicState* state, int* out) const override;
  bool isConstant() const override;
  /// The declared domain.
  Interval getRange() const override;

  int getBase() const { return base_; }

private:
  int base_;
  Interval domain_;
};

} // namespace orvela
