// TUlmoDPGerarArquivosCtbRS: exports one company's accounting for a period as the two TCE-RS
// files, "MOVIMENT.txt" and "BAL_VER.txt", into a folder the user names. The work-area variant
// is the same process without selection keys.
#pragma once
#include <optional>
#include <string>

#include "DateUtils_U.h"
#include "PowerParam_U.h"

namespace nUlmoRS {

class TUlmoArqRSGerarArquivo;

class TUlmoDPGerarArquivosCtbRS : public nFramework::TnDMPowerParam {
  N_CLASSE(TUlmoDPGerarArquivosCtbRS)
 public:
  TUlmoDPGerarArquivosCtbRS();
  ~TUlmoDPGerarArquivosCtbRS() override;

  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  void DataModuleCreate() override;
  // The dates (the end not before the start) and the company; builds the run's request.
  void ValidarDado() override;
  // REQUIRES: ValidarDado passed; a connection is open.
  void Executar() override;

  // The court system of the run: the hidden parameter when it is at least 1, else the
  // selection's, else the company's (GetSistemaTCE raises when it has none).
  int SistemaDaExecucao(int ACodigoEmpresa) const;

 private:
  // The panel read once, typed.
  struct TRequisicao {
    int Empresa = 0;
    nFramework::TDateTime DataInicial = 0, DataFinal = 0;
    std::string PastaDestino;
    std::string Origem;  // the zeroing origins as typed
  };
  TRequisicao LerRequisicao() const;

  std::optional<TRequisicao> FRequisicao;

  TUlmoArqRSGerarArquivo* FUlmoGerarArquivo = nullptr;  // the current run's facade
};

class TUlmoDPGerarArquivosCtbRSAreaTrabalho : public TUlmoDPGerarArquivosCtbRS {
  N_CLASSE(TUlmoDPGerarArquivosCtbRSAreaTrabalho)
 public:
  std::string PegarVerificaSelecao() const override { return ""; }
};

}  // namespace nUlmoRS
