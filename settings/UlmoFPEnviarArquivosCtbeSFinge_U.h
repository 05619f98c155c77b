// TUlmoFPEnviarArquivoCtbeSFinge: the grid form of the e-Sfinge send process; its action
// lays out the process's accounts and entries as two tabs, entries grouped by slip and date.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "FrmPowerParamcxGridCloseTab_U.h"

namespace nUlmoSettings {

struct TRecFieldAgrupamento {
  std::string Name;
  bool Visible;
  int32_t GroupIndex;
};

// The entries grouped by slip (its column hidden), then by the visible date.
extern const std::array<TRecFieldAgrupamento, 2> FCamposAgrupamento;

class TUlmoFPEnviarArquivoCtbeSFinge : public nFramework::TnFrmPowerParamcxGridCloseTab {
  N_CLASSE(TUlmoFPEnviarArquivoCtbeSFinge)
 public:
  TUlmoFPEnviarArquivoCtbeSFinge();
  // Takes its action off the process's panel, which would otherwise keep a dead action.
  ~TUlmoFPEnviarArquivoCtbeSFinge() override;

  void AfterConstruction() override;
  void ConfigurarGerente() override;
  void actConfigurarCxGridExecute(void* Sender);

  nFramework::TnAction& actConfigurarCxGrid;

 private:
  void EsconderLevels();
  void MostrarAba(const std::string& AComponente, const std::string& ACaption);
  void Agrupar(nFramework::TnViewcxGrid& ADetalhe);
};

}  // namespace nUlmoSettings
