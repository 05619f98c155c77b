#include "UlmoArqPRGerarEstatal_U.h"

#include "ControleMensagem_U.h"
#include "Mapper_U.h"
#include "UlmoSQLs_U.h"
#include "Variant_U.h"

namespace nUlmoPR {

using namespace nFramework;

// PlanoContabilEstatal

void TUlmoArqPRGerarPlanoContabilEstatal::DefinirCampos() {
  CampoMoeda("idPessoa", 7);
  CampoMoeda("cdContaContabil", 50);
  CampoNumerico("nrAnoAplicacao", 4);
  CampoTexto("dsConta", 250);
  CampoTexto("tpNaturezaSaldo", 1);
  CampoTexto("tpEscrituracao", 1);
  CampoFim();
  RecordMapper().MapearFields(*FRecord, FMapRecord, "");
}

void TUlmoArqPRGerarPlanoContabilEstatal::AbrirDados() {
  FDados = &ControleDados->curPlanoCtbEstatal();
  FDados->SetIndexFieldNames("CLASSIFCONTA");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

void TUlmoArqPRGerarPlanoContabilEstatal::PreencherCampos() {
  auto& d = FMapDados;
  auto& r = FMapRecord;
  r.idPessoa->SetAsInteger(ControleDados->IdPessoa);
  r.cdContaContabil->SetAsInt64(ContaSemPontos(d.CLASSIFCONTA->AsString()));
  r.nrAnoAplicacao->SetAsInteger(YearOf(ControleDados->DataInicial()));
  r.dsConta->SetAsString(d.DESCRCONTA->AsString());
  r.tpNaturezaSaldo->SetAsString(LetraNatureza(d.TIPONATURSALDO->AsInteger()));
  r.tpEscrituracao->SetAsString(d.TIPOCONTA->AsInteger() == 1 ? "S" : "N");
}

// BalanceteMensalEstatalXPlanoContabil

void TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil::DefinirCampos() {
  CampoMoeda("idPessoa", 7);
  CampoNumerico("nrMes", 2);
  CampoMoeda("cdContaContabil", 50);
  for (const char* nivel : {"cdClasse", "cdGrupo", "cdSubGrupo", "cdTitulo", "cdSubTitulo"}) CampoNumerico(nivel, 1);
  for (const char* nivel : {"cdItem", "cdSubItem", "cdNivel8", "cdNivel9", "cdNivel10", "cdNivel11", "cdNivel12"})
    CampoNumerico(nivel, 2);
  CampoNumerico("nrAnoAplicacao", 4);
  CampoTexto("vlDebito", 16);
  CampoTexto("vlCredito", 16);
  CampoFim();
  RecordMapper().MapearFields(*FRecord, FMapRecord, "");
}

void TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil::AbrirDados() {
  FDados = &ControleDados->curSaldoBalancetePlanoCtbEstatal();
  FDados->SetIndexFieldNames("DATASALDO;CLASSIFCONTA");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

bool TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil::RegistroValido() {
  return TUlmoArqPRGerarDataSet::RegistroValido() &&
         (FMapDados.DEBITO->AsCurrency() != Currency() || FMapDados.CREDITO->AsCurrency() != Currency());
}

void TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil::PreencherCampos() {
  auto& d = FMapDados;
  auto& r = FMapRecord;
  TDateTime data = d.DATASALDO->AsDateTime();
  r.idPessoa->SetAsInteger(ControleDados->IdPessoa);
  r.nrMes->SetAsString(FormatarMes(data));
  r.cdContaContabil->SetAsInt64(ContaSemPontos(d.CLASSIFCONTA->AsString()));
  PreencherNiveis(d.CLASSIFCONTATCE->AsString(), {r.cdClasse, r.cdGrupo, r.cdSubGrupo, r.cdTitulo, r.cdSubTitulo,
                                                  r.cdItem, r.cdSubItem, r.cdNivel8, r.cdNivel9, r.cdNivel10,
                                                  r.cdNivel11, r.cdNivel12});
  r.nrAnoAplicacao->SetAsInteger(YearOf(data));
  const std::string conta = d.CLASSIFCONTA->AsString() + " (conta contábil " + d.CONTACTB->AsString() + ")";
  DefinirValor(r.vlDebito, d.DEBITO->AsCurrency(), conta);
  DefinirValor(r.vlCredito, d.CREDITO->AsCurrency(), conta);
}

// Bem

void TUlmoArqPRGerarBens::DefinirCampos() {
  CampoTexto("idPessoa", 7);
  CampoTexto("cdBem", 10);
  CampoTexto("dsBem", 250);
  CampoNumerico("idTipoPropriedadeBem", 1);
  CampoTexto("idTipoNaturezaBem", 4);
  CampoTexto("idTipoCategoriaBem", 4);
  CampoTexto("idTipoDetalhamentoBem", 7);
  CampoNumerico("idTipoUtilizacaoBem", 1);
  CampoData("dtOperacao", "YYYY-MM-DD", 8);
  CampoFim();
  RecordMapper().MapearFields(*FRecord, FMapRecord, "");
}

void TUlmoArqPRGerarBens::AbrirDados() {
  std::string sql = nUlmo::FormatSQL(
      nUlmo::TUlmoSQLs::GetSQLSelectRelacBens(),
      {ValorParaSQL(ControleDados->CodigoEmpresa(), TFieldType::ftInteger),
       ValorParaSQL(TVariant::FromDate(ControleDados->DataInicial()), TFieldType::ftDate),
       ValorParaSQL(TVariant::FromDate(ControleDados->DataFinal()), TFieldType::ftDate)});
  FConsulta = ExecutarSQLRO(sql);
  FDados = FConsulta.get();
  FDados->SetIndexFieldNames("NUMEROBEM");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);

  // Only classified assets go to the court; the ones left out are said, not dropped unseen.
  auto semClassificacao = ExecutarSQLRO(nUlmo::FormatSQL(
      "select count(*) QTD from PATBEM B where B.CODIGOEMPRESA = %s and B.DATAAQUISICAO between %s and %s and not "
      "exists (select 1 from PATBEMRELACTCE R where R.CODIGOEMPRESA = B.CODIGOEMPRESA and R.CODIGOBEM = B.CODIGOBEM)",
      {ValorParaSQL(ControleDados->CodigoEmpresa(), TFieldType::ftInteger),
       ValorParaSQL(TVariant::FromDate(ControleDados->DataInicial()), TFieldType::ftDate),
       ValorParaSQL(TVariant::FromDate(ControleDados->DataFinal()), TFieldType::ftDate)}));
  if (int n = semClassificacao->FieldByName("QTD").AsInteger(); n > 0)
    ControleMensagem().AddAviso(std::to_string(n) + (n == 1 ? " bem adquirido" : " bens adquiridos") +
                                    " no período sem classificação para o TCE/PR " +
                                    (n == 1 ? "ficou" : "ficaram") +
                                    " fora do arquivo Bem: classifique-os em \"Relacionar Bens\".");
}

void TUlmoArqPRGerarBens::PreencherCampos() {
  auto& d = FMapDados;
  auto& r = FMapRecord;
  r.idPessoa->SetAsString(std::to_string(ControleDados->IdPessoa));
  r.cdBem->SetAsInteger(d.NUMEROBEM->AsInteger());
  r.dsBem->SetAsString(d.DESCRISAO->AsString());
  r.idTipoPropriedadeBem->SetAsInteger(d.PROPRIEDADEBEM->AsInteger());
  r.idTipoNaturezaBem->SetAsString(std::to_string(d.NATUREZABEM->AsInteger()));
  r.idTipoCategoriaBem->SetAsString(std::to_string(d.IDTIPOCATEGORIABEM->AsInteger()));
  r.idTipoDetalhamentoBem->SetAsString(std::to_string(d.IDTIPODETALHAMENTOBEM->AsInteger()));
  r.idTipoUtilizacaoBem->SetAsInteger(d.UTILIZACAOBEM->AsInteger());
  r.dtOperacao->SetAsDateTime(d.DATAAQUISICAO->AsDateTime());
}

void TUlmoArqPRGerarBens::FecharDados() {
  FDados = nullptr;
  FConsulta.reset();
}

}  // namespace nUlmoPR
