#include "UlmoDPTCESESagresReceita_U.h"

#include "ClassRegistry_U.h"
#include "SQL_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

const std::vector<TItemSagres>& ItensReceita() {
  static const std::vector<TItemSagres> itens = {
      {"01", "01 - Receita de Serviços de Água"},
      {"02", "02 - Receita de Serviços de Esgoto"},
      {"03", "03 - Receita de Venda de Gás e Serviços"},
      {"04", "04 - Receita Bruta de Vendas"},
      {"05", "05 - Receita Bruta de Serviços"},
      {"06", "06 - Rendas de Operações de Crédito"},
      {"07", "07 - Rendas Aplic Interf Liquidez"},
      {"08", "08 - Rendas Tit Val Mob Inst Financ Deriv"},
      {"09", "09 - Rendas de Prestação de Serviços"},
      {"10", "10 - Regularização de terrenos"},
      {"11", "11 - Vendas de Asfalto"},
      {"12", "12 - Subvenções para Cobertura de Custeio"},
      {"13", "13 - Outras Receitas Operacionais"},
      {"90", "90 - Deduçao - COFINS"},
      {"91", "91 - Deduçao - PIS/PASEP"},
      {"99", "99 - Deduçao - Outras Deduçoes"},
  };
  return itens;
}

TUlmoDPTCESESagresReceita::TUlmoDPTCESESagresReceita() : TUlmoDPTCESagresRegraGrid({"TipoReceita"}, {"Descricao"}) {
  SetCaption("TCE/SE - Configuração Receitas");
  curDados.AddFieldDef("TipoReceita", TFieldType::ftInteger);
  curDados.AddFieldDef("Descricao", TFieldType::ftString, 40);
  curDados.AddFieldDef("RegraCalculo", TFieldType::ftString, 1000);
  curDados.AddFieldDef("Alterado", TFieldType::ftSmallint);
  CriarGrid();
  ConfigurarColunas("Receitas");
  curDados.FieldByName("Descricao").DisplayLabel = "Receita";
}

void TUlmoDPTCESESagresReceita::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                 const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPTCESESagresReceita::CarregarDados() {
  TUlmoDPTCESagresRegraGrid::CarregarDados();
  std::unique_ptr<TSQLDataSet> curRegrasBanco = ExecutarSQL(
      " SELECT  TIPORECEITA,  REGRACALCULOCTB  FROM  TCESESAGRESRECEITA  WHERE CODIGOEMPRESA = :CODIGOEMPRESA  "
      "ORDER BY TIPORECEITA ",
      {Empresa()});
  DescricoesSomenteLeitura(false);
  for (const TItemSagres& item : ItensReceita()) {
    int codigo = std::stoi(std::string(item.Codigo));
    curDados.Append();
    curDados.FieldByName("TipoReceita").SetAsInteger(codigo);
    curDados.FieldByName("Descricao").SetAsString(item.Descricao);
    DefinirRegra(RegraGuardada(*curRegrasBanco, "TIPORECEITA", {codigo}));
    curDados.FieldByName("Alterado").SetAsInteger(0);
    curDados.Post();
  }
  DescricoesSomenteLeitura(true);
}

std::string TUlmoDPTCESESagresReceita::GetSQLDelete() {
  return "DELETE FROM TCESESAGRESRECEITA WHERE CODIGOEMPRESA = " + ValorParaSQL(Empresa(), TFieldType::ftInteger);
}

std::string TUlmoDPTCESESagresReceita::GetSQLInsert() {
  return FormatarSQL("INSERT INTO TCESESAGRESRECEITA (CODIGOEMPRESA, TIPORECEITA, REGRACALCULOCTB) VALUES (%0:s, %1:s, %2:s) ",
                     {ValorParaSQL(Empresa(), TFieldType::ftInteger),
                      ValorParaSQL(curDados.FieldByName("TipoReceita").AsInteger(), TFieldType::ftInteger),
                      ValorParaSQL(curDados.FieldByName("RegraCalculo").Value(), TFieldType::ftString)});
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPTCESESagresReceita>()};

}  // namespace nUlmo
