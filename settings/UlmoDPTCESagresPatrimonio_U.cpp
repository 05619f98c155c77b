#include "UlmoDPTCESagresPatrimonio_U.h"

#include "ClassRegistry_U.h"
#include "SQL_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

const std::vector<TItemSagres>& ItensPatrimonio() {
  static const std::vector<TItemSagres> itens = {
      {"1", "1 - Máquinas e Equipamentos"}, {"2", "2 - Móveis e Utensílios"},
      {"3", "3 - Imóveis"},                 {"4", "4 - Computadores e Periféricos"},
      {"5", "5 - Veículos"},                {"6", "6 - Participação Societária"},
  };
  return itens;
}

const std::vector<TItemSagres>& ItensTipoLancamento() {
  static const std::vector<TItemSagres> itens = {{"P", "P - Patrimônio"}, {"D", "D - Depreciação"}};
  return itens;
}

TUlmoDPTCESagresPatrimonio::TUlmoDPTCESagresPatrimonio()
    : TUlmoDPTCESagresRegraGrid({"TipoPatrimonio", "TipoLancamento"}, {"DescrTipoPatrimonio", "DescrTipoLancamento"}) {
  SetCaption("TCE/SE - Configuração Patrimônio");
  curDados.AddFieldDef("TipoPatrimonio", TFieldType::ftSmallint);
  curDados.AddFieldDef("DescrTipoPatrimonio", TFieldType::ftString, 30);
  curDados.AddFieldDef("TipoLancamento", TFieldType::ftString, 1);
  curDados.AddFieldDef("DescrTipoLancamento", TFieldType::ftString, 20);
  curDados.AddFieldDef("RegraCalculo", TFieldType::ftString, 1000);
  curDados.AddFieldDef("Alterado", TFieldType::ftSmallint);
  CriarGrid();
  ConfigurarColunas("Patrimônio");
  curDados.SetIndexFieldNames("TIPOPATRIMONIO;TIPOLANCAMENTO");
  curDados.FieldByName("DescrTipoPatrimonio").DisplayLabel = "Tipo Patrimônio";
  curDados.FieldByName("DescrTipoLancamento").DisplayLabel = "Tipo Lançamento";
}

void TUlmoDPTCESagresPatrimonio::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                  const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPTCESagresPatrimonio::ConfigurarCxGrid() {
  TUlmoDPTCESagresRegraGrid::ConfigurarCxGrid();
  MesclarCelulas("DESCRTIPOPATRIMONIO");
  MesclarCelulas("DESCRTIPOLANCAMENTO");
}

void TUlmoDPTCESagresPatrimonio::CarregarDados() {
  TUlmoDPTCESagresRegraGrid::CarregarDados();
  std::unique_ptr<TSQLDataSet> curRegrasBanco = ExecutarSQL(
      " SELECT  TIPOPATRIMONIO,  TIPOLANCAMENTO,  REGRACALCULOCTB  FROM TCESESAGRESPATRIMONIO  WHERE CODIGOEMPRESA = "
      ":CODIGOEMPRESA  ORDER BY TIPOPATRIMONIO, TIPOLANCAMENTO ",
      {Empresa()});
  DescricoesSomenteLeitura(false);
  for (const TItemSagres& tipo : ItensPatrimonio()) {
    int codigo = std::stoi(std::string(tipo.Codigo));
    for (const TItemSagres& lancamento : ItensTipoLancamento()) {
      std::string letra(lancamento.Codigo);
      curDados.Append();
      curDados.FieldByName("TipoPatrimonio").SetAsInteger(codigo);
      curDados.FieldByName("DescrTipoPatrimonio").SetAsString(tipo.Descricao);
      curDados.FieldByName("TipoLancamento").SetAsString(letra);
      curDados.FieldByName("DescrTipoLancamento").SetAsString(lancamento.Descricao);
      DefinirRegra(RegraGuardada(*curRegrasBanco, "TIPOPATRIMONIO;TIPOLANCAMENTO", {codigo, letra.c_str()}));
      curDados.FieldByName("Alterado").SetAsInteger(0);
      curDados.Post();
    }
  }
  DescricoesSomenteLeitura(true);
}

std::string TUlmoDPTCESagresPatrimonio::GetSQLDelete() {
  return "DELETE FROM TCESESAGRESPATRIMONIO WHERE CODIGOEMPRESA = " + ValorParaSQL(Empresa(), TFieldType::ftInteger);
}

std::string TUlmoDPTCESagresPatrimonio::GetSQLInsert() {
  return FormatarSQL(
      "INSERT INTO TCESESAGRESPATRIMONIO (CODIGOEMPRESA, TIPOPATRIMONIO, TIPOLANCAMENTO, REGRACALCULOCTB) VALUES (%0:s, "
      "%1:s, %2:s, %3:s) ",
      {ValorParaSQL(Empresa(), TFieldType::ftInteger),
       ValorParaSQL(curDados.FieldByName("TipoPatrimonio").AsInteger(), TFieldType::ftInteger),
       ValorParaSQL(curDados.FieldByName("TipoLancamento").AsString().c_str(), TFieldType::ftString),
       ValorParaSQL(curDados.FieldByName("RegraCalculo").Value(), TFieldType::ftString)});
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPTCESagresPatrimonio>()};

}  // namespace nUlmo
