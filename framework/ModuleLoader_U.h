// The module libraries: opened by name at start-up from the configured list, closed in
// reverse order at the end. Opening a library runs its units' initializations, which register
// its classes; closing it runs their finalizations, which remove them.
#pragma once
#include <filesystem>
#include <string>
#include <vector>

namespace nFramework {

// The folder of the running program.
std::filesystem::path PastaDoPrograma();
// The folder where the module libraries are looked up by default: the program's lib folder.
std::filesystem::path PastaPadraoBibliotecas();
// A bare name ("UlmoPkPb") becomes aPasta/libUlmoPkPb.so; a path (with a '/' or ending in
// ".so") is taken as it is.
std::filesystem::path CaminhoBiblioteca(const std::string& aNome, const std::filesystem::path& aPasta);

class TnBibliotecas {
 public:
  TnBibliotecas() = default;
  ~TnBibliotecas() { Descarregar(); }
  TnBibliotecas(const TnBibliotecas&) = delete;
  TnBibliotecas& operator=(const TnBibliotecas&) = delete;

  // Opens the libraries in order. Raises an Exception naming the library and the reason when
  // one cannot be opened; the ones opened before it stay open (Descarregar closes them).
  void Carregar(const std::vector<std::string>& aNomes, const std::filesystem::path& aPasta);
  void CarregarBiblioteca(const std::filesystem::path& aCaminho);
  // Frees the framework's instances and utilities (their code may live in a library), then
  // closes the libraries, the last opened first.
  void Descarregar();
  std::vector<std::string> Nomes() const;

 private:
  struct TBiblioteca {
    std::string Nome;
    void* Handle;
  };
  std::vector<TBiblioteca> FBibliotecas;
};

}  // namespace nFramework
