// TUlmoArqRSGerarArquivoMovimento: writes "MOVIMENT.txt", one MOV line per debit or credit side
// of each entry of the period whose account is mapped to the court system's chart.
#pragma once
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "ClientDataSet_U.h"
#include "MapClass_U.h"
#include "UlmoArqRSGerador_U.h"

namespace nUlmoRS {

namespace nMovimento {
ULMO_MAP_CLASS(TMapCurMovim, nFramework::TField, CHAVELCTOCTB, ORIGEM, CONTACTB, CLASSIFCONTA, CODIGOLOTECTB,
               DATALCTOCTB, CODIGOORIGLCTOCTB, VALORLCTO, CODIGOHISTCTB, COMPLHIST);
ULMO_MAP_CLASS(TMapHistorico, nFramework::TField, CODIGOHISTCTB, DESCRHISTCTB);
ULMO_MAP_CLASS(TMapRecordMov, nFramework::TColuna, CONTA, LOTE, CHAVELCTO, DATA, TIPOLCTO, VALOR, HISTORICO,
               ZERAMENTO, FINALIZADOR);
}  // namespace nMovimento

class TUlmoArqRSGerarArquivoMovimento : public TUlmoArqRSGerador {
  N_CLASSE(TUlmoArqRSGerarArquivoMovimento)
 public:
  // The entry origins that mark zeroing entries, as typed ("'ZZ'", "'10','20'").
  std::string FOrigem;

  // The movement rows of the period (debit and credit sides, by entry key). Caller owns them.
  // REQUIRES: a connection is open.
  std::unique_ptr<nFramework::TClientDataSet> CriarMovimento() const;

 protected:
  std::string NomeArquivo() const override { return "MOVIMENT.txt"; }
  void CarregarDados() override;
  const TLayoutRS& LayoutCabecalho() const override { return LayoutCabecalhoMovimento(); }
  const TLayoutRS& LayoutDetalhe() const override { return LayoutMovimento(); }
  const char* NomeDetalhe() const override { return "MOV"; }
  void PreencherDetalhe(nFramework::TRecord& record, bool& skip) override;
  void ProximoDetalhe(bool& more) override;
  std::string Setor() const override { return FNomeEmpresa; }
  void LiberarDados() override;

 private:
  std::unique_ptr<nFramework::TClientDataSet> curSaldo;
  std::unique_ptr<nFramework::TClientDataSet> curHistoricoCtb;
  std::unordered_map<std::string, std::string> FHistoricos;  // code as text -> description
  std::vector<std::string> FItensOrigem;                     // the items of FOrigem
};

}  // namespace nUlmoRS
