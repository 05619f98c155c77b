// The utilities registry: process-wide helper objects created on first use and freed by the
// framework at the end (before the libraries holding their code unload), and the debug log.
#pragma once
#include <functional>
#include <memory>
#include <string>

namespace nFramework {

namespace nDetalhe {
void RegistrarUtilitario(void* aObjeto, void** aReferencia, void (*aLiberar)(void*));
}

// Creates an object of class T into aReferencia when it is empty and keeps it in the registry,
// which frees it in LiberarUtilitarios (clearing aReferencia). Returns the object.
template <class T>
T& CriarUtilitarios(T*& aReferencia) {
  if (!aReferencia) {
    auto p = std::make_unique<T>();
    aReferencia = p.get();
    nDetalhe::RegistrarUtilitario(p.release(), reinterpret_cast<void**>(&aReferencia),
                                  [](void* o) { delete static_cast<T*>(o); });
  }
  return *aReferencia;
}
// Removes an object from the registry without freeing it (its destructor calls this).
void DesRegistrarUtilitarios(void* aObjeto);
// Frees every registered object, the last created first.
void LiberarUtilitarios();
size_t nUtilitariosRegistrados();

// One debug line; the sender is informational. Lines go to the installed sink, none by default.
void LogDebug(const std::string& aTexto, const void* aSender = nullptr);
void SetLogDebugSink(std::function<void(const std::string&)> aSink);

}  // namespace nFramework
