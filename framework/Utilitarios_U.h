// The utilities registry: process-wide helper objects created on first use and freed by the
// framework at the end (before the libraries holding their code unload), and the debug log.
#pragma once
#include <functional>
#include <memory>
#include <string>

namespace nFramework {

namespace nDetalhe {
void RegistrarUtilitario(void* AObjeto, void** AReferencia, void (*ALiberar)(void*));
}

// Creates an object of class T into AReferencia when it is empty and keeps it in the registry,
// which frees it in LiberarUtilitarios (clearing AReferencia). Returns the object.
template <class T>
T& CriarUtilitarios(T*& AReferencia) {
  if (!AReferencia) {
    auto p = std::make_unique<T>();
    AReferencia = p.get();
    nDetalhe::RegistrarUtilitario(p.release(), reinterpret_cast<void**>(&AReferencia),
                                  [](void* o) { delete static_cast<T*>(o); });
  }
  return *AReferencia;
}
// Removes an object from the registry without freeing it (its destructor calls this).
void DesRegistrarUtilitarios(void* AObjeto);
// Frees every registered object, the last created first.
void LiberarUtilitarios();
size_t nUtilitariosRegistrados();

// One debug line; the sender is informational. Lines go to the installed sink, none by default.
void LogDebug(const std::string& ATexto, const void* ASender = nullptr);
void SetLogDebugSink(std::function<void(const std::string&)> ASink);

}  // namespace nFramework
