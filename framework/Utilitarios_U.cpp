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

void nDetalhe::RegistrarUtilitario(void* AObjeto, void** AReferencia, void (*ALiberar)(void*)) {
  Utilitarios().push_back(TUtilitario{AObjeto, AReferencia, ALiberar});
}

void DesRegistrarUtilitarios(void* AObjeto) {
  auto& l = Utilitarios();
  l.erase(std::remove_if(l.begin(), l.end(), [&](const TUtilitario& u) { return u.Objeto == AObjeto; }), l.end());
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

void LogDebug(const std::string& ATexto, const void*) {
  if (Sink()) Sink()(ATexto);
}

void SetLogDebugSink(std::function<void(const std::string&)> ASink) { Sink() = std::move(ASink); }

}  // namespace nFramework
