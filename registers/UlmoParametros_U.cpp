#include "UlmoParametros_U.h"

#include <algorithm>

#include "Classes_U.h"
#include "FormatUtils_U.h"
#include "PowerParam_U.h"
#include "SQL_U.h"

namespace nUlmo {

using namespace nFramework;

TDateTime LerDataParametro(const TnDMPowerParam& AProcesso, std::string_view AAlias, const std::string& AMensagem) {
  TDateTime data;
  if (!TryStrToDateParametro(Trim(AProcesso.Param(AAlias).AsString()), data)) throw EnParam(AProcesso.Param(AAlias), AMensagem);
  return data;
}

TPeriodoParametros LerPeriodoParametros(const TnDMPowerParam& AProcesso, std::string_view AAliasInicial,
                                        std::string_view AAliasFinal, const std::string& AMensagemOrdem) {
  TPeriodoParametros p;
  p.Inicio = LerDataParametro(AProcesso, AAliasInicial, kDataInicialInvalida);
  p.Fim = LerDataParametro(AProcesso, AAliasFinal, kDataFinalInvalida);
  if (p.Inicio > p.Fim) throw EnParam(AProcesso.Param(AAliasFinal), AMensagemOrdem);
  return p;
}

int LerEmpresaParametro(const TnDMPowerParam& AProcesso, std::string_view AAlias, const std::string& AMensagem) {
  int64_t empresa = 0;
  // A code of no company would run into an empty period ("Nenhuma conta contábil...") or empty
  // grids, as if the company had nothing to send.
  if (!TryStrToInt64(Trim(AProcesso.Param(AAlias).AsString()), empresa) || empresa < 1 || empresa > 32767 ||
      !PegarTemRegistro("EMPRESA", "CODIGOEMPRESA",
                        "CODIGOEMPRESA = " + ValorParaSQL(static_cast<int>(empresa), TFieldType::ftInteger)))
    throw EnParam(AProcesso.Param(AAlias), AMensagem);
  return static_cast<int>(empresa);
}

std::vector<std::string> ItensOrigem(std::string_view ALista) {
  std::vector<std::string> itens;
  size_t inicio = 0;
  while (inicio <= ALista.size()) {
    size_t fim = ALista.find_first_of(",;", inicio);
    if (fim == std::string_view::npos) fim = ALista.size();
    std::string item = Trim(ALista.substr(inicio, fim - inicio));
    if (item.size() >= 2 && item.front() == '\'' && item.back() == '\'') item = Trim(item.substr(1, item.size() - 2));
    if (!item.empty()) itens.push_back(std::move(item));
    inicio = fim + 1;
  }
  return itens;
}

bool OrigemNaLista(std::string_view AOrigem, const std::vector<std::string>& AItens) {
  std::string origem = Trim(AOrigem);
  return !origem.empty() && std::find(AItens.begin(), AItens.end(), origem) != AItens.end();
}

}  // namespace nUlmo
