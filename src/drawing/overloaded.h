// One visitor of several lambdas, for std::visit over the entity shapes.
#pragma once

namespace tsn {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

}  // namespace tsn
