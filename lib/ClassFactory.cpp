#include "lib/ClassFactory.h"

#include "lib/ServerLifetime.h"

#include <atomic>
#include <new>

namespace orvo {
namespace {

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(const BuiltClass& cls) : class_(cls) { objectCreated(); }
  ClassFactory(const ClassFactory&) = delete;
  ClassFactory& operator=(const ClassFactory&) = delete;
  ~ClassFactory() { objectDestroyed(); }

  HRESULT QueryInterface(const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  ULONG AddRef() override { return ++references_; }
  ULONG Release() override {
    const ULONG left = --references_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return class_.create(iid, object);
  }
  HRESULT LockServer(int32_t lock) override {
    lockServer(lock != 0);
    return S_OK;
  }

 private:
  const BuiltClass& class_;
  std::atomic<ULONG> references_{0};
};

}  // namespace

HRESULT getClassFactory(std::span<const BuiltClass> classes, const CLSID& clsid, const IID& iid,
                        void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  const BuiltClass* cls = findClassIn(classes, clsid);
  if (!cls) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) ClassFactory(*cls);
  if (!factory) return E_OUTOFMEMORY;
  factory->AddRef();
  const HRESULT status = factory->QueryInterface(iid, object);
  factory->Release();
  return status;
}

}  // namespace orvo
