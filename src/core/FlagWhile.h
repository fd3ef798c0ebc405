// A flag that is set for the life of a scope and cleared at its end, also
// when the scope is left by an exception or an early return: the guard
// against a handler running again inside its own work.
#pragma once

namespace corvane {

class FlagWhile {
 public:
  explicit FlagWhile(bool& flag) : m_flag(flag) { m_flag = true; }
  ~FlagWhile() { m_flag = false; }
  FlagWhile(const FlagWhile&) = delete;
  FlagWhile& operator=(const FlagWhile&) = delete;

 private:
  bool& m_flag;
};

}  // namespace corvane
