#include "KaloDPGerarSaldoCtbIndividual_U.h"

#include <map>

#include "ClassRegistry_U.h"
#include "ControleMensagem_U.h"
#include "FormatUtils_U.h"

namespace nHost {

using namespace nFramework;

namespace {

// How each parameter shows on the panel; the defaults are the balance's own.
TnParamDef Definicao(const TParamSaldoCtbDef& p) {
  static const std::map<std::string, TnParamDef> paineis = {
      {"pCodigoEmpresa", {.Dicionario = "CODIGOEMPRESA", .Obrigatorio = true, .Hint = "Informe a empresa"}},
      {"pCodigoEstab",
       {.Caption = "Estabelecimentos", .Hint = "Estabelecimentos separados por vírgula ou faixas (1,3-5); vazio: todos",
        .ClasseLookup = "TirnDCEstab", .CampoLookup = "CodigoEstab", .MultiplosValores = true}},
      {"pContaCtb",
       {.Caption = "Contas Contábeis", .Hint = "Contas separadas por vírgula ou faixas (10,20-30); vazio: todas",
        .ClasseLookup = "TKaloDCPlanoEspec", .CampoLookup = "ContaCtb", .MultiplosValores = true}},
      {"pClassifConta",
       {.Caption = "Classificações", .Hint = "Inícios de classificação separados por ponto e vírgula (1;2); vazio: todas"}},
      {"pDataInicial", {.Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true}},
      {"pDataFinal", {.Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true}},
      {"pCodigoMoeda", {.Caption = "Moeda", .Lista = "Real=0"}},
      {"pRelacionarEstab", {.Caption = "Relacionar Estabelecimentos", .Dicionario = "DICSIMNAO"}},
      {"pTipoAgruparData", {.Caption = "Agrupar por Data", .Lista = "Período=0;Mensal=2"}},
      {"pTotalizarSintetica", {.Caption = "Totalizar Contas Sintéticas", .Dicionario = "DICSIMNAO"}},
      {"pConsiderarFiltroLctoCtb", {.Caption = "Desconsiderar Origens", .Dicionario = "DICSIMNAO"}},
      {"pFiltroOrigemLcto",
       {.Caption = "Origens Desconsideradas", .Dicionario = "CODIGOORIGLCTOCTB",
        .Hint = "Lançamentos destas origens ficam fora do período", .ExpressaoHabilitado = "IGUAL(PCONSIDERARFILTROLCTOCTB,1)",
        .MultiplosValores = true}},
      {"pListarContasMovimentoZero", {.Caption = "Listar Contas sem Saldo e sem Movimento", .Dicionario = "DICSIMNAO"}},
      {"pTipoSaldoCtb", {.Caption = "Tipo de Saldo", .Lista = "Contábil=0"}},
  };
  TnParamDef d = paineis.at(p.Alias);
  d.Alias = p.Alias;
  d.Padrao = p.Padrao;
  return d;
}

const TnRegistroUnidade gRegistro{nClasse<TKaloDPGerarSaldoCtbIndividual>()};

}  // namespace

TKaloDPGerarSaldoCtbIndividual::TKaloDPGerarSaldoCtbIndividual() {
  SetCaption("Gerar Saldo Contábil Individual");
  for (const auto& p : ParamsSaldoCtb()) AddParam(Definicao(p));
  FSaldos = &AddClientDataSet("nClientDataSet");
}

TParamSaldoCtb TKaloDPGerarSaldoCtbIndividual::LerParametros() const {
  try {
    return LerParamSaldoCtb([this](std::string_view alias) { return Param(alias).Value(); });
  } catch (const EParamSaldoCtb& e) {
    throw EnParam(Param(e.Alias()), e.what());
  }
}

void TKaloDPGerarSaldoCtbIndividual::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  // Typed by a user, a year before 1900 or after 2100 is a mistake, refused before the dates'
  // order; a court process asking by name for the year before its period never comes through here.
  for (const auto& [alias, mensagem] : {std::pair{"pDataInicial", "Data inicial inválida!"},
                                        std::pair{"pDataFinal", "Data final inválida!"}}) {
    TDateTime d;
    if (!TryStrToDateParametro(Trim(Param(alias).Value()), d)) throw EnParam(Param(alias), mensagem);
  }
  LerParametros();
}

void TKaloDPGerarSaldoCtbIndividual::Executar() {
  TnDMPowerParam::Executar();
  TParamSaldoCtb p = LerParametros();
  try {
    GerarSaldoCtb(p, *FSaldos);
  } catch (const EParamSaldoCtb& e) {
    throw EnParam(Param(e.Alias()), e.what());
  }
  MsgTree(tmConfirmacao, "Saldos gerados: " + std::to_string(FSaldos->RecordCount()) + " linhas");
}

}  // namespace nHost
