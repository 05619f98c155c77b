// TUlmoArqRSGerador: the run both TCE-RS generators share: the question before replacing a
// file, the data, and the CAB, detail and FIN lines written through the court's layouts. The
// lines stream to an output the facade opens; the facade commits the files only when both are
// complete.
#pragma once
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "AtomicFile_U.h"
#include "DateUtils_U.h"
#include "GerarArquivoGenerator_U.h"
#include "LayoutsRS_U.h"
#include "Variant_U.h"

namespace nUlmoRS {

// The user answered "Não" to replacing a file.
class EGravacaoCancelada : public nFramework::Exception {
 public:
  using Exception::Exception;
};

class TUlmoArqRSGerador : public nFramework::TnDPGerarArquivoGenerator {
 public:
  TUlmoArqRSGerador();

  std::string GetFileNameArquivo() const override { return FNomeArquivo; }
  // REQUIRES: the run fields are set; a connection is open.
  void Executar() override;

  // Opens the output the lines go to (not owned), once the user agreed to replace the file.
  // Without it the generator writes the file itself.
  using TAbrirSaida = std::function<nFramework::IOutputSink&(const std::string& nomeArquivo)>;
  void SetAbrirSaida(TAbrirSaida abrir) { FAbrirSaida = std::move(abrir); }
  // The folder and the file name joined (a trailing '\' or '/' of the folder does not matter).
  std::filesystem::path CaminhoCompleto() const;

  int FCodigoEmpresa = 0;
  int FCodigoSistema = 0;
  nFramework::TDateTime FDataInicial = 0;
  nFramework::TDateTime FDataFinal = 0;
  std::string FPastaDestino;

  std::string FNomeArquivo;
  int FContador = 0;
  std::string FNomeEmpresa;
  std::string FInscrFederal;
  std::vector<nFramework::TVariant> FTipoGrupos;

 protected:
  virtual std::string NomeArquivo() const = 0;
  virtual void CarregarDados() = 0;
  virtual const nFramework::TLeiaute& LayoutCabecalho() const = 0;
  // Writes the detail lines, counting them in FContador.
  virtual void EscreverDetalhes(nFramework::TEscritorLeiaute& escritor) = 0;
  // Frees the run's data, however the run ended.
  virtual void LiberarDados() = 0;

  void CarregarEmpresa();
  // NATURGRUPO1..9 or TIPOGRUPO1..9 of the company; raises when the company has no settings.
  std::vector<nFramework::TVariant> LerGrupos(const char* prefixo) const;
  // The group of a classification: its first character as a digit, 1 for a letter.
  // Raises for 0, which has no group.
  int Grupo(const std::string& classif, const std::string& conta) const;
  // Element n (1-based) of a group array as an integer; raises for an empty one.
  int ValorGrupo(const std::vector<nFramework::TVariant>& grupos, int n, const char* prefixo,
                 const std::string& conta) const;

 private:
  TAbrirSaida FAbrirSaida;
};

}  // namespace nUlmoRS
