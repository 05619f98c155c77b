// Installation and run-time configuration (nConfig): the database, the module libraries to
// open, the environment switches (homologation, internal use, the e-Sfinge online address
// override) and the installation values (court hosts, namespaces, software identification).
// Every value has a compiled-in default; ulmo.toml and the command line override them.
#pragma once
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace nFramework {

struct TnConfig {
  std::string Banco = "ulmo.db";
  int EsperaBloqueioMs = 5000;      // how long a statement waits for a lock another program holds
  bool BancoSomenteLeitura = false;  // opens the database read-only even when it could be written
  // Module libraries in opening order (closed in reverse): bare names are looked up in
  // PastaBibliotecas, or beside the program (its lib folder) when that is empty.
  std::vector<std::string> Bibliotecas = {"UlmoPkPb", "UlmoPkPbDevExpress", "UlmoPkDevExpress", "UlmoPk"};
  std::string PastaBibliotecas;
  std::vector<int> Modulos = {8};  // the module set the menu is built for
  bool Homologacao = false;
  bool UsoInterno = false;
  bool HttpExe = false;
  bool Cloud = false;
  std::string UrlEsfingeOnline;  // replaces the e-Sfinge online base address when not empty
  // Further values by dotted key ("esfinge.host_producao"); the units that read one give its
  // default in their call.
  std::map<std::string, std::string> Valores;

  bool GetHomologacao() const { return Homologacao; }
  std::string GetUrlEsfingeOnline() const { return UrlEsfingeOnline; }
  std::string Valor(std::string_view aChave, std::string_view aPadrao = {}) const;
  void SetValor(std::string_view aChave, std::string aValor) { Valores[std::string(aChave)] = std::move(aValor); }
};

TnConfig& nConfig();
// Back to the compiled-in defaults.
void RestaurarConfiguracao();

// Reads a TOML file over the current configuration. Raises an Exception naming the file and
// the key for a syntax error, an unknown key of a known section or a value of the wrong type.
void CarregarConfiguracao(const std::filesystem::path& aArquivo);
// The same from text (tests); aOrigem names the source in messages.
void CarregarConfiguracaoTexto(std::string_view aTexto, std::string_view aOrigem);

}  // namespace nFramework
