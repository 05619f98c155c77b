#include "UlmoArqPRGerarArquivo_U.h"

#include <fmt/format.h>

#include <filesystem>

#include "AtomicFile_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "Dialogo_U.h"
#include "Exceptions_U.h"
#include "FileUtils_U.h"
#include "Nutil_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"
#include "UlmoArqPRGerarEstatal_U.h"
#include "UlmoFuncoes_U.h"
#include "Utilitarios_U.h"
#include "Zip_U.h"

namespace nUlmoPR {

using namespace nFramework;
namespace fs = std::filesystem;

std::string TUlmoArqPRGerarArquivo::NomeArquivoCompactado() const {
  std::string pasta = PastaDestino;
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '/';
  return pasta + std::to_string(IdPessoa) + "-" + PreencherEsquerda(std::to_string(MonthOf(DataInicial)), 2, "0") +
         std::to_string(YearOf(DataInicial)) + ".zip";
}

void TUlmoArqPRGerarArquivo::GerarArquivos() {
  FArquivosGerados.Clear();
  FSubstituirTodos = EhUsoInterno();
  if (!ValidarPastaDestino()) return;
  CriarControleDados();
  struct TLiberar {
    TUlmoArqPRGerarArquivo& D;
    ~TLiberar() {
      D.FLstGeradores.clear();
      D.FControleDados.reset();
    }
  } liberar{*this};
  CriarGeradores();
  ExecutarGeradores();
  FLstGeradores.clear();
  if (CompactarArq && FArquivosGerados.Count() > 0) CompactarArquivos();
}

bool TUlmoArqPRGerarArquivo::ValidarPastaDestino() {
  bool ok = true;
  fs::path pasta = CaminhoDeTexto(PastaDestino);
  // A file where the folder should be is no read-only folder: say what stands in the way.
  std::error_code ec;
  if (fs::exists(pasta, ec) && !fs::is_directory(pasta, ec)) {
    ControleMensagem().AddErro("Erro ao tentar criar diretório: \"" + CitarCaminho(pasta) +
                               "\": já existe um arquivo com esse nome");
    return false;
  }
  try {
    if (!fs::exists(pasta)) fs::create_directory(pasta);
  } catch (const fs::filesystem_error& e) {
    LogDebug(e.what());
    ControleMensagem().AddErro("Erro ao tentar criar diretório: \"" + CitarCaminho(pasta) + "\": " +
                               DescricaoErroSistema(e.code()));
    ok = false;
  }
  if (IsReadOnly(pasta)) {
    ControleMensagem().AddErro("O diretório destino \"" + CitarValor(PastaDestino) + "\" é somente leitura");
    ok = false;
  }
  return ok;
}

void TUlmoArqPRGerarArquivo::CriarControleDados() {
  int sistema;
  if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE"))
    sistema = sel->AsInteger();
  else
    sistema = nUlmo::TUlmoFuncoes::GetSistemaTCE(CodigoEmpresa);
  FControleDados = std::make_unique<TUlmoArqPRControleDados>();
  FControleDados->SetCodigoEmpresa(CodigoEmpresa);
  FControleDados->SetCodigoSistema(sistema);
  FControleDados->SetDataInicial(DataInicial);
  FControleDados->SetDataFinal(DataFinal);
  FControleDados->IdPessoa = IdPessoa;
  FControleDados->IdPessoaEntidade = IdPessoaEntidade;
  FControleDados->PastaDestino = PastaDestino;
  FControleDados->Progresso = Progresso;
  FControleDados->TipoMovimentoCtb = TipoMovimentoCtb;
  FControleDados->SetPlanoEstatal(PlanoEstatal);
}

void TUlmoArqPRGerarArquivo::CriarGeradores() {
  auto adicionar = [this](std::unique_ptr<TUlmoArqPRGerarBase> AGerador) {
    AGerador->ControleDados = FControleDados.get();
    FLstGeradores.push_back(std::move(AGerador));
  };
  if (GerarPessoa) adicionar(std::make_unique<TUlmoArqPRGerarPessoaSEICED>());
  if (GerarPlanoContas) adicionar(std::make_unique<TUlmoArqPRGerarPlanoContabil>());
  if (GerarSaldoCtb) adicionar(std::make_unique<TUlmoArqPRGerarSaldoCtbExercAnt>());
  if (GerarMovimentoCtb) adicionar(std::make_unique<TUlmoArqPRGerarMovCtbMensal>());
  // Any value but "Não" (1) writes the state chart, the stored default 0 included.
  if (PlanoEstatal != 1) adicionar(std::make_unique<TUlmoArqPRGerarPlanoContabilEstatal>());
  if (BalanceteEstatal) adicionar(std::make_unique<TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil>());
  if (Bens) adicionar(std::make_unique<TUlmoArqPRGerarBens>());
}

bool TUlmoArqPRGerarArquivo::PodeGravarArquivo(const std::string& ACaminho) {
  if (FSubstituirTodos || EhHttpExe() || !fs::exists(CaminhoDeTexto(ACaminho))) return true;
  int resposta = nMessageDlg(fmt::format(infoMSubistituirArquivoDestino, ACaminho), mtConfirmation,
                             {"Sim", "Sim para &todos", "Não"}, 0, 2);
  if (resposta == 0) return true;
  if (resposta == 1) {
    FSubstituirTodos = true;
    return true;
  }
  return false;
}

namespace {

// A file of the run: written into a temporary file beside the target as the generator goes, it
// replaces the target only when the driver commits the run's files together.
class TArquivoDaExecucao final : public IOutputSink {
 public:
  explicit TArquivoDaExecucao(const std::string& ACaminho) : FArquivo(CaminhoDeTexto(ACaminho)) {}
  void Write(std::string_view ABytes) override { FArquivo.Write(ABytes); }
  // The generator finished the file; it stays temporary.
  void Commit() override { FCompleto = true; }
  bool Completo() const { return FCompleto; }
  void Gravar() { FArquivo.Commit(); }

 private:
  TAtomicFile FArquivo;
  bool FCompleto = false;
};

}  // namespace

void TUlmoArqPRGerarArquivo::ExecutarGeradores() {
  if (Progresso) Progresso->SetMaxTotal(static_cast<int>(FLstGeradores.size()));
  // Each file's outcome in the order of the generators, reported only once the files are in
  // place: an amount that does not fit stops the run before any file of it is written.
  struct TResultado {
    std::string Nome, NomeComExtensao, Caminho, Erro;
    bool Recusado = false;  // the user declined to replace the file
    std::unique_ptr<TArquivoDaExecucao> Saida;
  };
  std::vector<TResultado> resultados;
  for (auto& gerador : FLstGeradores) {
    TResultado r;
    r.Nome = gerador->NomeArquivo();
    r.NomeComExtensao = gerador->NomeArquivoComExtensao();
    if (Progresso) Progresso->IncProgressoTotal("Gerando arquivo " + r.Nome + "...");
    try {
      r.Caminho = gerador->NomeArquivoCompleto();
      r.Recusado = !PodeGravarArquivo(r.Caminho);
      if (r.Recusado) {
        resultados.push_back(std::move(r));
        continue;
      }
      r.Saida = std::make_unique<TArquivoDaExecucao>(r.Caminho);
      gerador->SetSink(r.Saida.get());
      gerador->GerarArquivo();
      gerador->SetSink(nullptr);
      if (!r.Saida->Completo()) throw EInternalError("o gerador " + gerador->ClassName() + " não concluiu o arquivo");
    } catch (const EValorNaoCabePR&) {
      throw;
    } catch (const std::exception& e) {
      gerador->SetSink(nullptr);
      r.Saida.reset();
      r.Erro = MensagemDeErro(e);
    }
    resultados.push_back(std::move(r));
  }
  for (auto& r : resultados) {
    if (r.Recusado) {
      ControleMensagem().AddAviso("Geração cancelada pelo usuário", "", r.Caminho);
      continue;
    }
    if (r.Saida) {
      try {
        r.Saida->Gravar();
      } catch (const std::exception& e) {
        r.Erro = MensagemDeErro(e);
        r.Saida.reset();
      }
    }
    if (!r.Saida) {
      ControleMensagem().AddErro("Erro ao tentar gerar arquivo " + r.Nome + ": " + r.Erro, "", r.Nome);
      continue;
    }
    ControleMensagem().AddConfirmacao("Arquivo " + r.Nome + " gerado com sucesso" +
                                      (EhHttpExe() ? std::string() : ": " + r.Caminho));
    FArquivosGerados.Add(r.NomeComExtensao);
  }
}

void TUlmoArqPRGerarArquivo::CompactarArquivos() {
  std::string zip = NomeArquivoCompactado();
  try {
    CompressLista(FArquivosGerados, CaminhoDeTexto(PastaDestino), CaminhoDeTexto(zip), true);
    ControleMensagem().AddMesagemImageIndex("Arquivos compactados com sucesso: " + zip, 318);
  } catch (const std::exception& e) {
    ControleMensagem().AddErro(std::string("Erro ao tentar gerar arquivo compactado: ") + MensagemDeErro(e));
  }
}

}  // namespace nUlmoPR
