#pragma once
// Holds a reference to a library object while one of its members runs an event loop (a modal
// dialog, pending window-system events): a client may drop its own reference meanwhile, and
// the member must not go on with a destroyed object.

#include "runtime/ComTypes.h"

namespace orvo {

class SelfReference {
 public:
  explicit SelfReference(IUnknown* object) : object_(object) { object_->AddRef(); }
  ~SelfReference() { object_->Release(); }
  SelfReference(const SelfReference&) = delete;
  SelfReference& operator=(const SelfReference&) = delete;

 private:
  IUnknown* object_;
};

}  // namespace orvo
