#pragma once

#include <stdexcept>
#include <string>

namespace AsaApi {

// The address of the game function with this signature text (class, point,
// method, parameter types in parentheses, no blanks), or null when the game has
// no such function. Looked up anew at every call.
void* GetAddress(const std::string& signature);

}  // namespace AsaApi

// The game function with this signature text as a typed function pointer. A
// member function takes its object as the first argument. Throws when the game
// does not have it, so that a missing function is a contained error and never a
// jump to null.
template <class Signature>
Signature* GameFunction(const char* signature) {
  void* address = AsaApi::GetAddress(signature);
  if (address == nullptr) {
    throw std::runtime_error(std::string("game function not found: ") + signature);
  }
  return reinterpret_cast<Signature*>(address);
}
