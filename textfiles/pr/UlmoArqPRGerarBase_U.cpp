#include "UlmoArqPRGerarBase_U.h"

#include "AtomicFile_U.h"
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
  if (EhUsoInterno() && !EhHttpExe())
    ControleMensagem().AddAviso("UsoInterno: Destruiu Gerador " + FClassName, "", FNomeArquivo);
}

std::string TUlmoArqPRGerarBase::NomeArquivoCompleto() const {
  std::string pasta = ControleDados->PastaDestino;
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '/';
  return pasta + NomeArquivoComExtensao();
}

void TUlmoArqPRGerarBase::GerarArquivo() {
  std::unique_ptr<TAtomicFile> proprio;
  IOutputSink* saida = FSink;
  if (!saida) {
    proprio = std::make_unique<TAtomicFile>(CaminhoDeTexto(NomeArquivoCompleto()));
    saida = proprio.get();
  }
  TEscritorLeiaute escritor(*saida, NomeArquivoComExtensao());
  AbrirDados();
  EscreverLinhas(escritor);
  escritor.Concluir();
  saida->Commit();
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

std::string LetraNatureza(int ANatureza) {
  if (ANatureza == 1) return "D";
  if (ANatureza == 2) return "C";
  return "X";
}

std::string FormatarValor(Currency AValor) { return nFramework::FormatarValor(AValor, TFormatoValor::Ponto); }

std::string FormatarMes(TDateTime AData) { return PreencherEsquerda(std::to_string(MonthOf(AData)), 2, "0"); }

void EscreverNiveis(TLinha& ALinha, std::string_view AClassif, int ANiveis) {
  size_t inicio = 0;
  bool fim = AClassif.empty();
  for (int i = 0; i < ANiveis; ++i) {
    std::string_view parte;
    if (!fim) {
      size_t ponto = AClassif.find('.', inicio);
      parte = AClassif.substr(inicio, ponto == std::string_view::npos ? std::string_view::npos : ponto - inicio);
      if (ponto == std::string_view::npos)
        fim = true;
      else
        inicio = ponto + 1;
    }
    if (parte.empty())
      ALinha.Vazio();
    else
      ALinha.Numero(parte);
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
