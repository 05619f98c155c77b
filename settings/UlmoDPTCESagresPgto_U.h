// TUlmoDPTCESagresPgto: the TCE-SE payment grid "Pagamentos": for one company and establishment
// it lists the operation codes (CFOP) and lets the user give each a payment nature (1 to 8),
// stored in TCESESAGRESPGTO and read by the SAGRES Web payment writer.
#pragma once
#include <string>
#include <vector>

#include "MapClass_U.h"
#include "UlmoDPTCESagresGrid_U.h"

namespace nUlmo {

namespace nPgto {
// The row of the grid's load query.
ULMO_MAP_CLASS(TMapDados, nFramework::TField, CODIGOCFOP, DESCRCFOP, NATUREZAPGTO);
}  // namespace nPgto

// The payment natures, as the grid's value list.
extern const char* const kNaturezasPgto;

class TUlmoDPTCESagresPgto : public nFramework::TnDMPowerParamCxGridConfigBase {
  N_CLASSE(TUlmoDPTCESagresPgto)
 public:
  TUlmoDPTCESagresPgto();
  std::string PegarVerificaSelecao() const override { return "CodigoEmpresa"; }
  void GerarPrincAction(nFramework::TnActionList& AActionList, nFramework::TNotifyEvent AOnExecute,
                        const nFramework::TnPerModulos& AModulos) override;
  void DataModuleCreate() override;
  void ValidarDado() override;
  void CarregarDados() override;
  void ValidarConfiguracao() override;
  // Outside a CFOP choice, every row of the company and establishment; with one, only the rows
  // of the CFOPs chosen, so a save keeps the natures of the CFOPs the grid does not show.
  std::string GetSQLDelete() override;
  std::string GetSQLInsert() override;
  std::vector<std::string> GetCamposConfigurados() override { return {"NaturezaPgto"}; }

  int CodigoEstab() const { return FCodigoEstab; }

 private:
  void curDadosBeforePost();

  int FCodigoEstab = 0;
  std::string FCodigoCFOP;
  bool FSomenteConfig = false;
};

}  // namespace nUlmo
