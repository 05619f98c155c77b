#include "ModuleLoader_U.h"

#include <dlfcn.h>

#include "ClassRegistry_U.h"
#include "Exceptions_U.h"
#include "FieldExpression_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

std::filesystem::path PastaDoPrograma() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path() : exe.parent_path();
}

std::filesystem::path PastaPadraoBibliotecas() { return PastaDoPrograma().parent_path() / "lib"; }

std::filesystem::path CaminhoBiblioteca(const std::string& aNome, const std::filesystem::path& aPasta) {
  bool caminho = aNome.find('/') != std::string::npos ||
                 (aNome.size() > 3 && aNome.compare(aNome.size() - 3, 3, ".so") == 0) ||
                 aNome.find(".so.") != std::string::npos;
  if (caminho) return std::filesystem::path(aNome);
  return aPasta / ("lib" + aNome + ".so");
}

void TnBibliotecas::Carregar(const std::vector<std::string>& aNomes, const std::filesystem::path& aPasta) {
  for (const auto& n : aNomes) CarregarBiblioteca(CaminhoBiblioteca(n, aPasta));
}

void TnBibliotecas::CarregarBiblioteca(const std::filesystem::path& aCaminho) {
  std::string nome = aCaminho.stem().string();
  if (nome.rfind("lib", 0) == 0) nome.erase(0, 3);
  nSetBibliotecaCarregando(nome);
  void* h = dlopen(aCaminho.c_str(), RTLD_NOW | RTLD_LOCAL);
  nSetBibliotecaCarregando({});
  if (!h) {
    const char* erro = dlerror();
    throw Exception("Não foi possível abrir a biblioteca " + aCaminho.string() + ": " + (erro ? erro : "erro desconhecido"));
  }
  FBibliotecas.push_back(TBiblioteca{nome, h});
}

void TnBibliotecas::Descarregar() {
  if (FBibliotecas.empty()) return;
  DestruirTodosDM();
  LiberarUtilitarios();
  while (!FBibliotecas.empty()) {
    TBiblioteca b = FBibliotecas.back();
    FBibliotecas.pop_back();
    bool ultima = true;
    for (const auto& outra : FBibliotecas) ultima = ultima && outra.Handle != b.Handle;
    if (ultima) FieldExpressionFunctions().RemoverDaBiblioteca(b.Nome);
    dlclose(b.Handle);
  }
}

std::vector<std::string> TnBibliotecas::Nomes() const {
  std::vector<std::string> r;
  for (const auto& b : FBibliotecas) r.push_back(b.Nome);
  return r;
}

}  // namespace nFramework
