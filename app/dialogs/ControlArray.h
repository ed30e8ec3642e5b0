#pragma once
// A group of like controls addressed by index, from First to Last inclusive (the indexes the
// windows use: chkDate(1) is the year, cmdBoutons(0) "Annuler"). An index outside the range
// raises run-time error 9, as a control array does.

#include "runtime/RuntimeError.h"

#include <array>
#include <cstddef>

template <class Control, int First, int Last>
class ControlArray {
  static_assert(First <= Last);

 public:
  static constexpr int kFirst = First;
  static constexpr int kLast = Last;

  Control*& operator[](int index) { return controls_[slot(index)]; }
  Control* operator[](int index) const { return controls_[slot(index)]; }

  static constexpr bool contains(int index) { return index >= First && index <= Last; }

  auto begin() { return controls_.begin(); }
  auto end() { return controls_.end(); }
  auto begin() const { return controls_.begin(); }
  auto end() const { return controls_.end(); }

 private:
  static std::size_t slot(int index) {
    if (!contains(index)) rt::raise(rt::ErrSubscript);
    return static_cast<std::size_t>(index - First);
  }

  std::array<Control*, Last - First + 1> controls_{};
};
