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
ULMO_MAP_CLASS(TMapRecordPessoaSEICED, TColuna, idTipoDocumentoPessoa, nrDocumento, nmPessoa, dsEndereco, cdCEP);

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

void Definir(TColuna* AColuna, std::string_view AValor) {
  if (AColuna) AColuna->SetAsString(AValor);
}
void DefinirInteiro(TColuna* AColuna, int AValor) {
  if (AColuna) AColuna->SetAsInteger(AValor);
}

int NaturezaDe(const TField& AField) { return StrToIntDef(Trim(AField.AsString()), 0); }

}  // namespace

void TUlmoArqPRGerarDataSet::PrepararRegistro(TRecord&, bool& ASkip) {
  if (RegistroValido())
    PreencherCampos();
  else
    ASkip = true;
}

void TUlmoArqPRGerarDataSet::ProximoRegistro(TRecord&, bool& AMore) {
  if (!FDados) return;
  FDados->Next();
  AMore = !FDados->Eof();
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

void TUlmoArqPRGerarPessoaSEICED::DefinirCampos() {
  CampoMoeda("idTipoDocumentoPessoa", 2);
  CampoTexto("nrDocumento", 15);
  CampoTexto("nmPessoa", 100);
  CampoTexto("dsEndereco", 250);
  CampoNumerico("cdCEP", 8);
  CampoFim();
}

void TUlmoArqPRGerarPessoaSEICED::AbrirDados() {
  FConsulta = AbrirConsulta(kSQLEstab, {ControleDados->CodigoEmpresa()}, true);
  FDados = FConsulta.get();
  FDados->First();
  MapFilial(*FDados);
}

void TUlmoArqPRGerarPessoaSEICED::PreencherCampos() {
  TMapFilial& f = MapFilial(*FDados);
  TMapRecordPessoaSEICED r;
  RecordMapper().MapearFields(*FRecord, r, "");
  r.idTipoDocumentoPessoa->SetAsInteger(TipoDocumento(f.TIPOINSCR->AsInteger()));
  r.nrDocumento->SetAsString(LimparStrToInscricaoFederal(f.INSCRFEDERAL->AsString(), ""));
  r.nmPessoa->SetAsString(f.NOMEESTABCOMPLETO->AsString());
  r.dsEndereco->SetAsString(MontarEndereco(f.DESCRTIPOLOGRAD->AsString(), f.ENDERECOESTAB->AsString(),
                                           f.NUMENDERESTAB->AsString(), f.BAIRROENDERESTAB->AsString()));
  r.cdCEP->SetAsInteger(StrToInt(LimparStrToAlphaNumeric(f.CEPENDERESTAB->AsString(), "0", false, "")));
}

void TUlmoArqPRGerarPessoaSEICED::FecharDados() {
  FDados = nullptr;
  FConsulta.reset();
}

// PlanoContabil

void TUlmoArqPRGerarPlanoContabil::DefinirCampos() {
  CampoMoeda("idPessoa", 7);
  for (const char* nivel : {"cdClasse", "cdGrupo", "cdSubGrupo", "cdTitulo", "cdSubTitulo"}) CampoNumerico(nivel, 1);
  for (const char* nivel : {"cdItem", "cdSubItem", "cdNivel8", "cdNivel9", "cdNivel10", "cdNivel11", "cdNivel12"})
    CampoNumerico(nivel, 2);
  CampoNumerico("nrAnoAplicacao", 4);
  CampoTexto("dsConta", 250);
  CampoTexto("tpNaturezaSaldo", 1);
  CampoTexto("tpEscrituracao", 1);
  CampoTexto("tpNaturezaInformacao", 1);
  CampoTexto("tpSuperavitFinanceiro", 1);
  CampoTexto("tpControleConta", 1);
  CampoFim();
  RecordMapper().MapearFields(*FRecord, FMapRecord, "");
}

void TUlmoArqPRGerarPlanoContabil::AbrirDados() {
  FDados = &ControleDados->curPlanoTCE();
  FDados->SetIndexFieldNames("CLASSIFCONTA");
  FDados->First();
  FieldMapper().MapearFields(*FDados, FMapDados);
}

void TUlmoArqPRGerarPlanoContabil::PreencherCampos() {
  auto& d = FMapDados;
  auto& r = FMapRecord;
  DefinirInteiro(r.idPessoa, ControleDados->IdPessoa);
  PreencherNiveis(d.CLASSIFCONTA->AsString(), {r.cdClasse, r.cdGrupo, r.cdSubGrupo, r.cdTitulo, r.cdSubTitulo, r.cdItem,
                                               r.cdSubItem, r.cdNivel8, r.cdNivel9, r.cdNivel10, r.cdNivel11, r.cdNivel12});
  DefinirInteiro(r.nrAnoAplicacao, YearOf(ControleDados->DataInicial()));
  Definir(r.dsConta, d.DESCRCONTA->AsString());
  Definir(r.tpNaturezaSaldo, LetraNatureza(NaturezaDe(*d.NATUREZA)));
  Definir(r.tpEscrituracao, d.TIPOCONTA->AsInteger() == 2 ? "S" : "N");
  Definir(r.tpNaturezaInformacao, d.NATUREZAINFORMACAO->AsString());
  Definir(r.tpSuperavitFinanceiro, d.INDSUPERAVIT->AsString());
  Definir(r.tpControleConta, d.TIPOCONTROLECONTA->AsString());
}

// SaldoContabilExercicioAnterior

void TUlmoArqPRGerarSaldoCtbExercAnt::DefinirCampos() {
  CampoMoeda("idPessoa", 7);
  CampoMoeda("idPessoaEntidade", 7);
  for (const char* nivel : {"cdClasse", "cdGrupo", "cdSubGrupo", "cdTitulo", "cdSubTitulo"}) CampoNumerico(nivel, 1);
  for (const char* nivel : {"cdItem", "cdSubItem", "cdNivel8"}) CampoNumerico(nivel, 2);
  CampoNumerico("nrAnoImplantacao", 4);
  CampoTexto("tpSuperavitFinanceiro", 1);
  CampoTexto("tpNaturezaSaldo", 1);
  CampoTexto("vlSaldoExercicioAnterior", 16);
  CampoFim();
  RecordMapper().MapearFields(*FRecord, FMapRecord, "");
}

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

void TUlmoArqPRGerarSaldoCtbExercAnt::PreencherCampos() {
  auto& d = FMapDados;
  auto& r = FMapRecord;
  DefinirInteiro(r.idPessoa, ControleDados->IdPessoa);
  DefinirInteiro(r.idPessoaEntidade, ControleDados->IdPessoaEntidade);
  PreencherNiveis(d.CLASSIFCONTA->AsString(),
                  {r.cdClasse, r.cdGrupo, r.cdSubGrupo, r.cdTitulo, r.cdSubTitulo, r.cdItem, r.cdSubItem, r.cdNivel8});
  DefinirInteiro(r.nrAnoImplantacao, YearOf(d.DATASALDO->AsDateTime()));
  Definir(r.tpSuperavitFinanceiro, d.SUPERAVITFINANC->AsString());
  Definir(r.tpNaturezaSaldo, LetraNatureza(NaturezaDe(*d.NATUREZA)));
  DefinirValor(r.vlSaldoExercicioAnterior, d.SALDOANTERIOR->AsCurrency(), ContaDoSaldo(d));
}

void TUlmoArqPRGerarSaldoCtbExercAnt::FecharDados() {
  if (FDados) FDados->CancelRange();
}

// MovimentoContabilMensal

void TUlmoArqPRGerarMovCtbMensal::DefinirCampos() {
  CampoMoeda("idPessoa", 7);
  for (const char* nivel : {"cdClasse", "cdGrupo", "cdSubGrupo", "cdTitulo", "cdSubTitulo"}) CampoNumerico(nivel, 1);
  for (const char* nivel : {"cdItem", "cdSubItem", "cdNivel8", "cdNivel9", "cdNivel10", "cdNivel11", "cdNivel12"})
    CampoNumerico(nivel, 2);
  CampoNumerico("nrAnoAplicacao", 4);
  CampoTexto("nrMes", 2);
  CampoNumerico("idTipoMovimentoContabil", 1);
  CampoTexto("tpSuperavitFinanceiro", 1);
  CampoTexto("tpIdentifPatQualitativa", 2);
  CampoTexto("vlDebito", 16);
  CampoTexto("vlCredito", 16);
  CampoFim();
  RecordMapper().MapearFields(*FRecord, FMapRecord, "");
}

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

void TUlmoArqPRGerarMovCtbMensal::PreencherCampos() {
  auto& d = FMapDados;
  auto& r = FMapRecord;
  TDateTime data = d.DATASALDO->AsDateTime();
  DefinirInteiro(r.idPessoa, ControleDados->IdPessoa);
  PreencherNiveis(d.CLASSIFCONTA->AsString(), {r.cdClasse, r.cdGrupo, r.cdSubGrupo, r.cdTitulo, r.cdSubTitulo, r.cdItem,
                                               r.cdSubItem, r.cdNivel8, r.cdNivel9, r.cdNivel10, r.cdNivel11, r.cdNivel12});
  DefinirInteiro(r.nrAnoAplicacao, YearOf(data));
  Definir(r.nrMes, FormatarMes(data));
  DefinirInteiro(r.idTipoMovimentoContabil, ControleDados->TipoMovimentoCtb);
  Definir(r.tpSuperavitFinanceiro, d.SUPERAVITFINANC->AsString());
  Definir(r.tpIdentifPatQualitativa, d.IDENTIFIPATQUALITATIVA->AsString());
  DefinirValor(r.vlDebito, d.DEBITO->AsCurrency(), ContaDoSaldo(d));
  DefinirValor(r.vlCredito, d.CREDITO->AsCurrency(), ContaDoSaldo(d));
}

}  // namespace nUlmoPR
