#include "UlmoDPTCESagresPgto_U.h"

#include "ClassRegistry_U.h"
#include "Dicionario_U.h"
#include "Mapper_U.h"
#include "SQL_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmo {

using namespace nFramework;

const char* const kNaturezasPgto =
    "Despesa de Pessoal - Líquido=1;Despesa de Pessoal - Encargos=2;Investimentos=3;Consumo=4;Manutençao=5;"
    "Financiamentos=6;Tributos=7;Retençoes=8";

TUlmoDPTCESagresPgto::TUlmoDPTCESagresPgto() {
  SetCaption("TCE/SE - Configuração Pagamentos");
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA"});
  AddParam({.Alias = "pCodigoEstab", .Dicionario = "CODIGOESTAB", .Obrigatorio = true});
  AddParam({.Alias = "pCodigoCFOP", .Dicionario = "CODIGOCFOP", .MultiplosValores = true});
  AddParam({.Alias = "pSomenteConfigurados",
            .Caption = "Exibir Somente Configurados",
            .Dicionario = "DICSIMNAO",
            .Padrao = "0",
            .Obrigatorio = true});
  curDados.AddFieldDef("CodigoEmpresa", TFieldType::ftInteger);
  curDados.AddFieldDef("CodigoEstab", TFieldType::ftInteger);
  curDados.AddFieldDef("CodigoCFOP", TFieldType::ftInteger);
  curDados.AddFieldDef("DescrCFOP", TFieldType::ftString, 100);
  curDados.AddFieldDef("NaturezaPgto", TFieldType::ftInteger);
  curDados.AddFieldDef("Alterado", TFieldType::ftSmallint);
  CriarGrid();
  curDados.SetIndexFieldNames("CodigoCFOP");
  curDados.FieldByName("CodigoEmpresa").Visible = false;
  curDados.FieldByName("CodigoEstab").Visible = false;
  curDados.FieldByName("Alterado").Visible = false;
  curDados.FieldByName("CodigoCFOP").DisplayLabel = "Natureza";
  curDados.FieldByName("DescrCFOP").DisplayLabel = "Descrição";
  curDados.FieldByName("NaturezaPgto").DisplayLabel = "Natureza do Pagamento";
  for (const char* c : {"CODIGOEMPRESA", "CODIGOESTAB", "CODIGOCFOP", "DESCRCFOP", "ALTERADO"})
    curDados.FieldByName(c).ReadOnly = true;
  curDados.DisplayCaption = "Pagamentos";
  curDados.CamposChave = "CodigoCFOP";
  curDados.CampoEstilo = "Alterado";
  curDados.EstiloDestaque = "fonte-verde";
  curDados.FieldByName("CodigoCFOP").DisplayFormat = "#,###,###";
  curDados.FieldByName("DescrCFOP").DisplayWidth = 40;
  TField& natureza = curDados.FieldByName("NaturezaPgto");
  natureza.ValueList = kNaturezasPgto;
  // 0 is taken as no nature (the post clears it), as the combo's empty choice.
  natureza.OnValidate = [](TField& AField, const std::string& ATexto) {
    std::string t = Trim(ATexto);
    for (const auto& [caption, valor] : ItensLista(AField.ValueList))
      if (SameText(caption, t)) {
        t = valor;
        break;
      }
    int64_t v = 0;
    if (t.empty() || (TryStrToInt64(t, v) && v >= 0 && v <= 8)) return;
    throw EnCampoGrid("NaturezaPgto", "Natureza do pagamento inválida: " + Trim(ATexto) + "!");
  };
  curDados.BeforePost = [this](TClientDataSet&) { curDadosBeforePost(); };
}

void TUlmoDPTCESagresPgto::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                            const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPTCESagresPgto::DataModuleCreate() {
  TnDMPowerParamCxGridConfigBase::DataModuleCreate();
  SetOpcoesProcesso({0, 0});
  FCodigoEstab = 0;
}

void TUlmoDPTCESagresPgto::ValidarDado() {
  TnDMPowerParamCxGridConfigBase::ValidarDado();
  // What the control shows wins over the value kept for the item.
  FCodigoEstab = TextoParaInteiro(GetControlValues("pCodigoEstab"));
  if (FCodigoEstab == 0) FCodigoEstab = TextoParaInteiro(Param("pCodigoEstab").Value());
  // A parameter error, at the parameter: the company's own establishments only, or the grid would
  // list nothing and a save would store natures no payment reads.
  if (FCodigoEstab <= 0 ||
      !PegarTemRegistro("ESTAB", "CODIGOESTAB",
                        "CODIGOEMPRESA = " + ValorParaSQL(Empresa(), TFieldType::ftInteger) +
                            " and CODIGOESTAB = " + ValorParaSQL(FCodigoEstab, TFieldType::ftInteger)))
    throw EnParam(Param("pCodigoEstab"), "Filial Inválida! Verifique...");
  FCodigoCFOP = Trim(Param("pCodigoCFOP").Value());
  try {
    FilterInterval("C.CODIGOCFOP", FCodigoCFOP);
  } catch (const Exception& e) {
    throw EnParam(Param("pCodigoCFOP"), e.what());
  }
  FSomenteConfig = Trim(Param("pSomenteConfigurados").Value()) == "1";
}

void TUlmoDPTCESagresPgto::CarregarDados() {
  TnDMPowerParamCxGridConfigBase::CarregarDados();
  std::string filtro = FilterInterval("C.CODIGOCFOP", FCodigoCFOP);
  std::string sql = std::string(" SELECT  C.CODIGOCFOP,  C.DESCRCFOP,  P.NATUREZAPGTO  FROM CFOP C ") +
                    (FSomenteConfig ? "" : "LEFT") + " JOIN TCESESAGRESPGTO P " +
                    " ON C.CODIGOEMPRESA = P.CODIGOEMPRESA " + " AND C.CODIGOESTAB = P.CODIGOESTAB " +
                    " AND C.CODIGOCFOP = P.CODIGOCFOP " + " WHERE C.CODIGOEMPRESA = :CODIGOEMPRESA " +
                    " AND C.CODIGOESTAB = :CODIGOESTAB " + (filtro.empty() ? "" : " AND " + filtro) +
                    " ORDER BY C.CODIGOCFOP ";
  std::unique_ptr<TSQLDataSet> curDadosBanco = ExecutarSQL(sql, {Empresa(), FCodigoEstab});
  nPgto::TMapDados& m = FieldMapper().MapearFields<nPgto::TMapDados>(*curDadosBanco);
  for (; !curDadosBanco->Eof(); curDadosBanco->Next()) {
    curDados.Append();
    curDados.FieldByName("CodigoEmpresa").SetAsInteger(Empresa());
    curDados.FieldByName("CodigoEstab").SetAsInteger(FCodigoEstab);
    curDados.FieldByName("CodigoCFOP").SetAsInteger(m.CODIGOCFOP->AsInteger());
    curDados.FieldByName("DescrCFOP").SetAsString(m.DESCRCFOP->AsString());
    if (!m.NATUREZAPGTO->IsNull()) curDados.FieldByName("NaturezaPgto").SetAsInteger(m.NATUREZAPGTO->AsInteger());
    curDados.FieldByName("Alterado").SetAsInteger(0);
    curDados.Post();
  }
}

void TUlmoDPTCESagresPgto::curDadosBeforePost() {
  TField& natureza = curDados.FieldByName("NaturezaPgto");
  if (!natureza.IsNull() && natureza.AsInteger() == 0) natureza.Clear();
}

void TUlmoDPTCESagresPgto::ValidarConfiguracao() {
  TnDMPowerParamCxGridConfigBase::ValidarConfiguracao();
  const TField& natureza = curDados.FieldByName("NaturezaPgto");
  if (!natureza.IsNull() && (natureza.AsInteger() < 1 || natureza.AsInteger() > 8))
    throw EnCampoGrid("NaturezaPgto", "Natureza do pagamento inválida: " + natureza.AsString() + "!");
}

std::string TUlmoDPTCESagresPgto::GetSQLDelete() {
  std::string sql = FormatarSQL("DELETE FROM TCESESAGRESPGTO WHERE CODIGOEMPRESA = %0:s AND CODIGOESTAB = %1:s ",
                                {ValorParaSQL(Empresa(), TFieldType::ftInteger),
                                 ValorParaSQL(FCodigoEstab, TFieldType::ftInteger)});
  std::string filtro = FilterInterval("CODIGOCFOP", FCodigoCFOP);
  return filtro.empty() ? sql : sql + "AND " + filtro;
}

std::string TUlmoDPTCESagresPgto::GetSQLInsert() {
  return FormatarSQL(
      "INSERT INTO TCESESAGRESPGTO (CODIGOEMPRESA, CODIGOESTAB, CODIGOCFOP, NATUREZAPGTO) VALUES (%0:s, %1:s, %2:s, %3:s) ",
      {ValorParaSQL(Empresa(), TFieldType::ftInteger), ValorParaSQL(FCodigoEstab, TFieldType::ftInteger),
       ValorParaSQL(curDados.FieldByName("CodigoCFOP").AsInteger(), TFieldType::ftInteger),
       ValorParaSQL(curDados.FieldByName("NaturezaPgto").AsInteger(), TFieldType::ftInteger)});
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPTCESagresPgto>()};

}  // namespace nUlmo
