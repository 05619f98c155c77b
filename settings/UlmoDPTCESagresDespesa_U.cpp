#include "UlmoDPTCESagresDespesa_U.h"

#include "ClassRegistry_U.h"
#include "SQL_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

const std::vector<TItemSagres>& ItensDespesa() {
  static const std::vector<TItemSagres> itens = {
      {"01", "01 - Custo de Pessoal"},
      {"02", "02 - Custo de Material"},
      {"03", "03 - Custo de Serviços de Terceiros"},
      {"04", "04 - Custo de Depreciaçao"},
      {"05", "05 - Outros Custos"},
      {"06", "06 - Despesa de Pessoal"},
      {"07", "07 - Despesa de Material"},
      {"08", "08 - Despesa de Aluguel"},
      {"09", "09 - Despesa de Água"},
      {"10", "10 - Despesa de Energia"},
      {"11", "11 - Despesa de Telefone"},
      {"12", "12 - Despesa de Propaganda e Publicidade"},
      {"13", "13 - Despesa de Serviços de Terceiros"},
      {"14", "14 - Despesa de Impostos e Taxas"},
      {"15", "15 - Despesa de Depreciaçao"},
      {"16", "16 - Provisao para Devedores Duvidosos"},
      {"17", "17 - Outras Despesas"},
  };
  return itens;
}

TUlmoDPTCESagresDespesa::TUlmoDPTCESagresDespesa() : TUlmoDPTCESagresRegraGrid({"TipoDespesa"}, {"Descricao"}) {
  SetCaption("TCE/SE - Configuração Despesas");
  curDados.AddFieldDef("TipoDespesa", TFieldType::ftInteger);
  curDados.AddFieldDef("Descricao", TFieldType::ftString, 40);
  curDados.AddFieldDef("RegraCalculo", TFieldType::ftString, 1000);
  curDados.AddFieldDef("Alterado", TFieldType::ftSmallint);
  CriarGrid();
  ConfigurarColunas("Despesas");
  curDados.FieldByName("Descricao").DisplayLabel = "Despesa";
}

void TUlmoDPTCESagresDespesa::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                               const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPTCESagresDespesa::CarregarDados() {
  TUlmoDPTCESagresRegraGrid::CarregarDados();
  std::unique_ptr<TSQLDataSet> curRegrasBanco = ExecutarSQL(
      " SELECT  TIPODESPESA,  REGRACALCULOCTB  FROM  TCESESAGRESDESPESA  WHERE CODIGOEMPRESA = :CODIGOEMPRESA  "
      "ORDER BY TIPODESPESA ",
      {Empresa()});
  DescricoesSomenteLeitura(false);
  for (const TItemSagres& item : ItensDespesa()) {
    int codigo = std::stoi(std::string(item.Codigo));
    curDados.Append();
    curDados.FieldByName("TipoDespesa").SetAsInteger(codigo);
    curDados.FieldByName("Descricao").SetAsString(item.Descricao);
    DefinirRegra(RegraGuardada(*curRegrasBanco, "TIPODESPESA", {codigo}));
    curDados.FieldByName("Alterado").SetAsInteger(0);
    curDados.Post();
  }
  DescricoesSomenteLeitura(true);
}

std::string TUlmoDPTCESagresDespesa::GetSQLDelete() {
  return "DELETE FROM TCESESAGRESDESPESA WHERE CODIGOEMPRESA = " + ValorParaSQL(Empresa(), TFieldType::ftInteger);
}

std::string TUlmoDPTCESagresDespesa::GetSQLInsert() {
  return FormatarSQL("INSERT INTO TCESESAGRESDESPESA (CODIGOEMPRESA, TIPODESPESA, REGRACALCULOCTB) VALUES (%0:s, %1:s, %2:s) ",
                     {ValorParaSQL(Empresa(), TFieldType::ftInteger),
                      ValorParaSQL(curDados.FieldByName("TipoDespesa").AsInteger(), TFieldType::ftInteger),
                      ValorParaSQL(curDados.FieldByName("RegraCalculo").Value(), TFieldType::ftString)});
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPTCESagresDespesa>()};

}  // namespace nUlmo
