#include "UlmoArqPRGerarCtb_U.h"

#include "Classes_U.h"
#include "Mapper_U.h"
#include "TextUtils_U.h"
#include "Variant_U.h"

namespace nUlmoPR {

using namespace nFramework;

namespace {

const char* const kSQLEstab =
    "SELECT E.TIPOINSCR, E.INSCRFEDERAL, E.NOMEESTABCOMPLETO, TL.DESCRTIPOLOGRAD, E.ENDERECOESTAB, E.NUMENDERESTAB, "
    "E.BAIRROENDERESTAB, E.CEPENDERESTAB FROM ESTAB E join TIPOLOGRADOURO  TL  on TL.CODIGOTIPOLOGRAD = "
    "E.CODIGOTIPOLOGRAD WHERE E.CODIGOEMPRESA = :CODIGOEMPRESA AND E.CODIGOESTAB = 1 ";

ULMO_MAP_CLASS(TMapFilial, TField, TIPOINSCR, INSCRFEDERAL, NOMEESTABCOMPLETO, DESCRTIPOLOGRAD, ENDERECOESTAB,
               NUMENDERESTAB, BAIRROENDERESTAB, CEPENDERESTAB);

TMapFilial& MapFilial(TClientDataSet& ADados) { return FieldMapper().MapearFields<TMapFilial>(ADados); }

// Court document types: CNPJ 1 is 2, CPF 2 is 1, CEI 3 is 0, 4 is 98.
int TipoDocumento(int ATipoInscr) {
  switch (ATipoInscr) {
    case 1: return 2;
    case 2: return 1;
    case 3: return 0;
    case 4: return 98;
    default: return ATipoInscr;
  }
}

// The court account and the company account of a balance row, for messages.
std::string ContaDoSaldo(const nUlmoMaps::TMapSaldoTCE& ASaldo) {
  return ASaldo.CLASSIFCONTA->AsString() + " (conta contábil " + ASaldo.CONTACTB->AsString() + ")";
}

int NaturezaDe(const TField& AField) { return StrToIntDef(Trim(AField.AsString()), 0); }

}  // namespace

void TUlmoArqPRGerarDataSet::EscreverLinhas(TEscritorLeiaute& AEscritor) {
  if (!FDados) return;
  for (; !FDados->Eof(); FDados->Next()) {
    if (!RegistroValido()) continue;
    const std::string conta = Conta();
    TLinha& linha = AEscritor.Linha(Leiaute(), conta);
    EscreverLinha(linha);
    linha.Gravar();
  }
}

std::string MontarEndereco(std::string_view ATipo, std::string_view ARua, std::string_view ANumero,
                           std::string_view ABairro) {
  std::string texto = Trim(ATipo);
  std::string rua = Trim(ARua), numero = Trim(ANumero), bairro = Trim(ABairro);
  if (!rua.empty()) texto += (texto.empty() ? "" : " ") + rua;
  if (!numero.empty()) texto += (texto.empty() ? "" : ", ") + std::string("Num ") + numero;
  if (!bairro.empty()) texto += (texto.empty() ? "" : ", ") + std::string("Bairro ") + bairro;
  return texto;
}

// PessoaSEICED

void TUlmoArqPRGerarPessoaSEICED::AbrirDados() {
  FConsulta = AbrirConsulta(kSQLEstab, {ControleDados->CodigoEmpresa()}, true);
  FDados = FConsulta.get();
  FDados->First();
  MapFilial(*FDados);
}

void TUlmoArqPRGerarPessoaSEICED::EscreverLinha(TLinha& ALinha) {
  TMapFilial& f = MapFilial(*FDados);
  const int cep = StrToInt(LimparStrToAlphaNumeric(f.CEPENDERESTAB->AsString(), "0", false, ""));
  ALinha.Numero(TipoDocumento(f.TIPOINSCR->AsInteger()))
      .Texto(LimparStrToInscricaoFederal(f.INSCRFEDERAL->AsString(), ""))
      .Texto(f.NOMEESTABCOMPLETO->AsString())
      .Texto(MontarEndereco(f.DESCRTIPOLOGRAD->AsString(), f.ENDERECOESTAB->AsString(), f.NUMENDERESTAB->AsString(),
                            f.BAIRROENDERESTAB->AsString()))
      .Numero(cep)
      .Vazio();
}

void TUlmoArqPRGerarPessoaSEICED::FecharDados() {
  FDados = nullptr;
  FConsulta.reset();
}

// PlanoContabil

void TUlmoArqPRGerarPlanoContabil::AbrirDados() {
  FDados = &ControleDados->curPlanoTCE();
  FDados->SetIndexFieldNames("CLASSIFCONTA");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

std::string TUlmoArqPRGerarPlanoContabil::Conta() const { return FMapDados.CLASSIFCONTA->AsString(); }

void TUlmoArqPRGerarPlanoContabil::EscreverLinha(TLinha& ALinha) {
  auto& d = FMapDados;
  ALinha.Numero(ControleDados->IdPessoa);
  EscreverNiveis(ALinha, d.CLASSIFCONTA->AsString(), 12);
  ALinha.Numero(YearOf(ControleDados->DataInicial()))
      .Texto(d.DESCRCONTA->AsString())
      .Texto(LetraNatureza(NaturezaDe(*d.NATUREZA)))
      .Texto(d.TIPOCONTA->AsInteger() == 2 ? "S" : "N")
      .Texto(d.NATUREZAINFORMACAO->AsString())
      .Texto(d.INDSUPERAVIT->AsString())
      .Texto(d.TIPOCONTROLECONTA->AsString())
      .Vazio();
}

// SaldoContabilExercicioAnterior

void TUlmoArqPRGerarSaldoCtbExercAnt::AbrirDados() {
  FDados = &ControleDados->curSaldoTCE();
  FDados->SetIndexFieldNames("DATASALDO;CLASSIFCONTA");
  TVariant inicio = TVariant::FromDate(StartOfTheMonth(ControleDados->DataInicial()));
  FDados->SetRange({inicio}, {inicio});
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

bool TUlmoArqPRGerarSaldoCtbExercAnt::RegistroValido() {
  return TUlmoArqPRGerarDataSet::RegistroValido() && FMapDados.ESCRITURACAO->AsString() == "S" &&
         FMapDados.SALDOANTERIOR->AsCurrency() != Currency();
}

std::string TUlmoArqPRGerarSaldoCtbExercAnt::Conta() const { return ContaDoSaldo(FMapDados); }

void TUlmoArqPRGerarSaldoCtbExercAnt::EscreverLinha(TLinha& ALinha) {
  auto& d = FMapDados;
  ALinha.Numero(ControleDados->IdPessoa).Numero(ControleDados->IdPessoaEntidade);
  EscreverNiveis(ALinha, d.CLASSIFCONTA->AsString(), 8);
  ALinha.Numero(YearOf(d.DATASALDO->AsDateTime()))
      .Texto(d.SUPERAVITFINANC->AsString())
      .Texto(LetraNatureza(NaturezaDe(*d.NATUREZA)))
      .Valor(d.SALDOANTERIOR->AsCurrency())
      .Vazio();
}

void TUlmoArqPRGerarSaldoCtbExercAnt::FecharDados() {
  if (FDados) FDados->CancelRange();
}

// MovimentoContabilMensal

void TUlmoArqPRGerarMovCtbMensal::AbrirDados() {
  FDados = &ControleDados->curSaldoTCE();
  // The opening-balance file cancels its range when it ends; when it failed half-way the
  // range is still set, and every month must be seen here.
  FDados->CancelRange();
  FDados->SetIndexFieldNames("DATASALDO;CLASSIFCONTA");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

bool TUlmoArqPRGerarMovCtbMensal::RegistroValido() {
  return TUlmoArqPRGerarDataSet::RegistroValido() && FMapDados.ESCRITURACAO->AsString() == "S" &&
         (FMapDados.DEBITO->AsCurrency() != Currency() || FMapDados.CREDITO->AsCurrency() != Currency());
}

std::string TUlmoArqPRGerarMovCtbMensal::Conta() const { return ContaDoSaldo(FMapDados); }

void TUlmoArqPRGerarMovCtbMensal::EscreverLinha(TLinha& ALinha) {
  auto& d = FMapDados;
  const TDateTime data = d.DATASALDO->AsDateTime();
  ALinha.Numero(ControleDados->IdPessoa);
  EscreverNiveis(ALinha, d.CLASSIFCONTA->AsString(), 12);
  ALinha.Numero(YearOf(data))
      .Texto(FormatarMes(data))
      .Numero(ControleDados->TipoMovimentoCtb)
      .Texto(d.SUPERAVITFINANC->AsString())
      .Texto(d.IDENTIFIPATQUALITATIVA->AsString())
      .Valor(d.DEBITO->AsCurrency())
      .Valor(d.CREDITO->AsCurrency())
      .Vazio();
}

}  // namespace nUlmoPR
