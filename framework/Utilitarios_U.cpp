#include "Utilitarios_U.h"

#include <algorithm>
#include <vector>

namespace nFramework {

namespace {

struct TUtilitario {
  void* Objeto;
  void** Referencia;
  void (*Liberar)(void*);
};

std::vector<TUtilitario>& Utilitarios() {
  static auto* lista = new std::vector<TUtilitario>;
  return *lista;
}

std::function<void(const std::string&)>& Sink() {
  static auto* sink = new std::function<void(const std::string&)>;
  return *sink;
}

}  // namespace

void nDetalhe::RegistrarUtilitario(void* aObjeto, void** aReferencia, void (*aLiberar)(void*)) {
  Utilitarios().push_back(TUtilitario{aObjeto, aReferencia, aLiberar});
}

void DesRegistrarUtilitarios(void* aObjeto) {
  auto& l = Utilitarios();
  l.erase(std::remove_if(l.begin(), l.end(), [&](const TUtilitario& u) { return u.Objeto == aObjeto; }), l.end());
}

void LiberarUtilitarios() {
  auto& l = Utilitarios();
  while (!l.empty()) {
    TUtilitario u = l.back();
    l.pop_back();
    if (u.Referencia && *u.Referencia == u.Objeto) *u.Referencia = nullptr;
    u.Liberar(u.Objeto);  // may call DesRegistrarUtilitarios, which finds nothing left
  }
}

size_t nUtilitariosRegistrados() { return Utilitarios().size(); }

void LogDebug(const std::string& aTexto, const void*) {
  if (Sink()) Sink()(aTexto);
}

void SetLogDebugSink(std::function<void(const std::string&)> aSink) { Sink() = std::move(aSink); }

}  // namespace nFramework
