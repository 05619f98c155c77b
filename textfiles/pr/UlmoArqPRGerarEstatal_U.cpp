#include "UlmoArqPRGerarEstatal_U.h"

#include "ControleMensagem_U.h"
#include "Mapper_U.h"
#include "UlmoSQLs_U.h"
#include "Variant_U.h"

namespace nUlmoPR {

using namespace nFramework;

// PlanoContabilEstatal

void TUlmoArqPRGerarPlanoContabilEstatal::AbrirDados() {
  FDados = &ControleDados->curPlanoCtbEstatal();
  FDados->SetIndexFieldNames("CLASSIFCONTA");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

std::string TUlmoArqPRGerarPlanoContabilEstatal::Conta() const { return FMapDados.CLASSIFCONTA->AsString(); }

void TUlmoArqPRGerarPlanoContabilEstatal::EscreverLinha(TLinha& ALinha) {
  auto& d = FMapDados;
  const int64_t conta = ContaSemPontos(d.CLASSIFCONTA->AsString());
  ALinha.Numero(ControleDados->IdPessoa)
      .Numero(conta)
      .Numero(YearOf(ControleDados->DataInicial()))
      .Texto(d.DESCRCONTA->AsString())
      .Texto(LetraNatureza(d.TIPONATURSALDO->AsInteger()))
      .Texto(d.TIPOCONTA->AsInteger() == 1 ? "S" : "N")
      .Vazio();
}

// BalanceteMensalEstatalXPlanoContabil

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

std::string TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil::Conta() const {
  return FMapDados.CLASSIFCONTA->AsString() + " (conta contábil " + FMapDados.CONTACTB->AsString() + ")";
}

void TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil::EscreverLinha(TLinha& ALinha) {
  auto& d = FMapDados;
  const TDateTime data = d.DATASALDO->AsDateTime();
  const int64_t conta = ContaSemPontos(d.CLASSIFCONTA->AsString());
  ALinha.Numero(ControleDados->IdPessoa).Numero(FormatarMes(data)).Numero(conta);
  EscreverNiveis(ALinha, d.CLASSIFCONTATCE->AsString(), 12);
  ALinha.Numero(YearOf(data)).Valor(d.DEBITO->AsCurrency()).Valor(d.CREDITO->AsCurrency()).Vazio();
}

// Bem

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

void TUlmoArqPRGerarBens::EscreverLinha(TLinha& ALinha) {
  auto& d = FMapDados;
  ALinha.Texto(std::to_string(ControleDados->IdPessoa))
      .Texto(std::to_string(d.NUMEROBEM->AsInteger()))
      .Texto(d.DESCRISAO->AsString())
      .Numero(d.PROPRIEDADEBEM->AsInteger())
      .Texto(std::to_string(d.NATUREZABEM->AsInteger()))
      .Texto(std::to_string(d.IDTIPOCATEGORIABEM->AsInteger()))
      .Texto(std::to_string(d.IDTIPODETALHAMENTOBEM->AsInteger()))
      .Numero(d.UTILIZACAOBEM->AsInteger())
      .Data(d.DATAAQUISICAO->AsDateTime())
      .Vazio();
}

void TUlmoArqPRGerarBens::FecharDados() {
  FDados = nullptr;
  FConsulta.reset();
}

}  // namespace nUlmoPR
