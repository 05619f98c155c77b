#include "UlmoArqPRGerarBase_U.h"

#include "ControleMensagem_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "Nutil_U.h"
#include "TextUtils_U.h"
#include "Variant_U.h"

namespace nUlmoPR {

using namespace nFramework;

TUlmoArqPRGerarBase::~TUlmoArqPRGerarBase() {
  FGeradorArquivo.reset();
  if (EhUsoInterno() && !EhHttpExe())
    ControleMensagem().AddAviso("UsoInterno: Destruiu Gerador " + FClassName, "", FNomeArquivo);
}

std::string TUlmoArqPRGerarBase::NomeArquivoCompleto() const {
  std::string pasta = ControleDados->PastaDestino;
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '/';
  return pasta + NomeArquivoComExtensao();
}

void TUlmoArqPRGerarBase::GerarArquivo() {
  FGeradorArquivo = std::make_unique<TGeneratorFile>();
  FGeradorArquivo->SetFolder(ControleDados->PastaDestino);
  FGeradorArquivo->SetFileName(NomeArquivoComExtensao());
  FGeradorArquivo->SetSeparator("|");
  FGeradorArquivo->SetSink(FSink);
  FGeradorArquivo->Preparar();
  try {
    FRecord = &FGeradorArquivo->Records().CreateRecord("REC");
    FRecord->SetOnFill([this](TRecord& r, bool& skip) { PrepararRegistro(r, skip); });
    FRecord->SetOnNext([this](TRecord& r, bool& more) { ProximoRegistro(r, more); });
    DefinirCampos();
    AbrirDados();
    FGeradorArquivo->Gerar();
  } catch (...) {
    FGeradorArquivo->Finalizar();
    FGeradorArquivo.reset();
    FRecord = nullptr;
    throw;
  }
  FGeradorArquivo->Finalizar();
  FGeradorArquivo.reset();
  FRecord = nullptr;
  FecharDados();
}

std::unique_ptr<TSQLDataSet> TUlmoArqPRGerarBase::AbrirConsulta(std::string_view ASQL, const TValores& AValores,
                                                                bool AFlag) {
  (void)AFlag;  // the framework's flag for a query kept open; every result here is in memory
  auto dados = ExecutarSQL(ASQL, AValores);
  TnFraProgresso* progresso = ControleDados->Progresso;
  dados->AfterScroll = [progresso](TClientDataSet&) {
    if (progresso) progresso->IncProgressoParcial(0);
  };
  return dados;
}

void TUlmoArqPRGerarBase::CampoTexto(const std::string& ANome, int AWidth) {
  FRecord->CreateFieldToString(ANome, AWidth, '\0', TJustification::Left, true, false);
}

void TUlmoArqPRGerarBase::CampoNumerico(const std::string& ANome, int AWidth) {
  FRecord->CreateFieldToNumeric(ANome, AWidth, 0, true, "");
}

void TUlmoArqPRGerarBase::CampoMoeda(const std::string& ANome, int AWidth) {
  FRecord->CreateFieldToCurrency(ANome, AWidth, 0, '\0', true, true, ",", false);
}

void TUlmoArqPRGerarBase::CampoData(const std::string& ANome, const std::string& AFormato, int AWidth) {
  FRecord->CreateFieldToDate(ANome, AFormato, AWidth, true);
}

EValorNaoCabePR::EValorNaoCabePR(const std::string& AArquivo, const std::string& AConta, const std::string& ACampo,
                                 const std::string& AValor, int ALargura)
    : Exception("Arquivo " + AArquivo + ", conta " + AConta + ", campo " + ACampo + ": o valor " + AValor +
                " não cabe em " + std::to_string(ALargura) + " posições. Nenhum arquivo foi gerado.") {}

void TUlmoArqPRGerarBase::DefinirValor(TColuna* AColuna, Currency AValor, const std::string& AConta) const {
  if (!AColuna) return;
  std::string texto = FormatarValor(AValor);
  const int largura = AColuna->Layout().Width;
  if (largura > 0 && static_cast<int>(Utf8Length(texto)) > largura)
    throw EValorNaoCabePR(NomeArquivoComExtensao(), AConta, AColuna->Name(), texto, largura);
  AColuna->SetAsString(texto);
}

std::string LetraNatureza(int ANatureza) {
  if (ANatureza == 1) return "D";
  if (ANatureza == 2) return "C";
  return "X";
}

std::string FormatarValor(Currency AValor) {
  std::string texto = FormatFloat("#0.00", AValor);
  for (char& c : texto)
    if (c == ',') c = '.';
  return texto;
}

std::string FormatarMes(TDateTime AData) { return PreencherEsquerda(std::to_string(MonthOf(AData)), 2, "0"); }

void PreencherNiveis(std::string_view AClassif, std::initializer_list<TColuna*> ANiveis) {
  size_t inicio = 0;
  bool fim = AClassif.empty();
  for (TColuna* nivel : ANiveis) {
    std::string_view parte;
    if (!fim) {
      size_t ponto = AClassif.find('.', inicio);
      parte = AClassif.substr(inicio, ponto == std::string_view::npos ? std::string_view::npos : ponto - inicio);
      if (ponto == std::string_view::npos)
        fim = true;
      else
        inicio = ponto + 1;
    }
    if (nivel) nivel->SetAsString(parte);
  }
}

int64_t ContaSemPontos(std::string_view AClassif) {
  std::string digitos;
  for (char c : AClassif)
    if (c != '.') digitos += c;
  int64_t valor = 0;
  if (!TryStrToInt64(digitos, valor))
    throw EConvertError("'" + std::string(AClassif) + "' não é uma classificação numérica válida");
  return valor;
}

}  // namespace nUlmoPR
