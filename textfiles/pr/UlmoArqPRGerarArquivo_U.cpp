#include "UlmoArqPRGerarArquivo_U.h"

#include <fmt/format.h>

#include <filesystem>

#include "ConjuntoArquivos_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "Dialogo_U.h"
#include "Exceptions_U.h"
#include "Leiaute_U.h"
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
  std::string pasta = Requisicao.PastaDestino;
  if (!pasta.empty() && pasta.back() != '\\' && pasta.back() != '/') pasta += '/';
  const TDateTime inicio = Requisicao.DataInicial;
  return pasta + std::to_string(Requisicao.IdPessoa) + "-" + PreencherEsquerda(std::to_string(MonthOf(inicio)), 2, "0") +
         std::to_string(YearOf(inicio)) + ".zip";
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
  // The chart's files of a company with no mapped account would go to the court empty.
  const TRequisicaoPR& r = Requisicao;
  bool usaPlano = r.GerarPlanoContas || r.GerarSaldoCtb || r.GerarMovimentoCtb || r.PlanoEstatal != 1 || r.BalanceteEstatal;
  if (usaPlano && !nUlmo::TUlmoFuncoes::TemContaRelacionada(Requisicao.CodigoEmpresa, FControleDados->CodigoSistema(),
                                                            Requisicao.DataInicial, Requisicao.DataFinal)) {
    ControleMensagem().AddErro(nUlmo::MsgNenhumaContaRelacionada);
    return;
  }
  // The run's files and their ZIP are one set: all of them replace the old ones, or none.
  TConjuntoArquivos conjunto(CaminhoDeTexto(Requisicao.PastaDestino));
  for (const std::string& aviso : conjunto.TomarAvisos()) ControleMensagem().AddAviso(aviso);
  ExecutarGeradores(conjunto);
}

bool TUlmoArqPRGerarArquivo::ValidarPastaDestino() {
  bool ok = true;
  fs::path pasta = CaminhoDeTexto(Requisicao.PastaDestino);
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
    ControleMensagem().AddErro("O diretório destino \"" + CitarValor(Requisicao.PastaDestino) + "\" é somente leitura");
    ok = false;
  }
  return ok;
}

void TUlmoArqPRGerarArquivo::CriarControleDados() {
  int sistema;
  if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE"))
    sistema = sel->AsInteger();
  else
    sistema = nUlmo::TUlmoFuncoes::GetSistemaTCE(Requisicao.CodigoEmpresa);
  FControleDados = std::make_unique<TUlmoArqPRControleDados>();
  FControleDados->SetCodigoEmpresa(Requisicao.CodigoEmpresa);
  FControleDados->SetCodigoSistema(sistema);
  FControleDados->SetDataInicial(Requisicao.DataInicial);
  FControleDados->SetDataFinal(Requisicao.DataFinal);
  FControleDados->IdPessoa = Requisicao.IdPessoa;
  FControleDados->IdPessoaEntidade = Requisicao.IdPessoaEntidade;
  FControleDados->PastaDestino = Requisicao.PastaDestino;
  FControleDados->Progresso = Progresso;
  FControleDados->TipoMovimentoCtb = Requisicao.TipoMovimentoCtb;
  FControleDados->SetPlanoEstatal(Requisicao.PlanoEstatal);
}

void TUlmoArqPRGerarArquivo::CriarGeradores() {
  auto adicionar = [this](std::unique_ptr<TUlmoArqPRGerarBase> AGerador) {
    AGerador->ControleDados = FControleDados.get();
    FLstGeradores.push_back(std::move(AGerador));
  };
  if (Requisicao.GerarPessoa) adicionar(std::make_unique<TUlmoArqPRGerarPessoaSEICED>());
  if (Requisicao.GerarPlanoContas) adicionar(std::make_unique<TUlmoArqPRGerarPlanoContabil>());
  if (Requisicao.GerarSaldoCtb) adicionar(std::make_unique<TUlmoArqPRGerarSaldoCtbExercAnt>());
  if (Requisicao.GerarMovimentoCtb) adicionar(std::make_unique<TUlmoArqPRGerarMovCtbMensal>());
  // Any value but "Não" (1) writes the state chart, the stored default 0 included.
  if (Requisicao.PlanoEstatal != 1) adicionar(std::make_unique<TUlmoArqPRGerarPlanoContabilEstatal>());
  if (Requisicao.BalanceteEstatal) adicionar(std::make_unique<TUlmoArqPRGerarBalanceteMensalEstatalXPlanoContabil>());
  if (Requisicao.Bens) adicionar(std::make_unique<TUlmoArqPRGerarBens>());
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

void TUlmoArqPRGerarArquivo::ExecutarGeradores(TConjuntoArquivos& AConjunto) {
  if (Progresso) Progresso->SetMaxTotal(static_cast<int>(FLstGeradores.size()));
  // Each file's outcome in the order of the generators, reported once the set is committed or
  // dropped: a failed file, a failed ZIP or an amount that does not fit leave no file of the run.
  struct TResultado {
    std::string Nome, NomeComExtensao, Caminho, Erro;
    bool Recusado = false;  // the user declined to replace the file
  };
  std::vector<TResultado> resultados;
  bool falhou = false;
  for (auto& gerador : FLstGeradores) {
    TResultado r;
    r.Nome = gerador->NomeArquivo();
    r.NomeComExtensao = gerador->NomeArquivoComExtensao();
    if (Progresso) Progresso->IncProgressoTotal("Gerando arquivo " + r.Nome + "...");
    try {
      r.Caminho = gerador->NomeArquivoCompleto();
      r.Recusado = !PodeGravarArquivo(r.Caminho);
      if (!r.Recusado) {
        gerador->SetSink(&AConjunto.Novo(r.NomeComExtensao));
        gerador->GerarArquivo();
        gerador->SetSink(nullptr);
        AConjunto.Temporario(r.NomeComExtensao);  // raises when the generator did not finish it
      }
    } catch (const ENaoCabe&) {
      throw;
    } catch (const EInternalError&) {
      throw;
    } catch (const std::exception& e) {
      gerador->SetSink(nullptr);
      r.Erro = MensagemDeErro(e);
      falhou = true;
    }
    resultados.push_back(std::move(r));
  }

  std::vector<TArquivoZip> doZip;
  for (const auto& r : resultados)
    if (!r.Recusado && r.Erro.empty()) doZip.push_back({r.NomeComExtensao, {}});
  const std::string zip = NomeArquivoCompactado();
  std::string erroZip, erroGravacao;
  if (!falhou && Requisicao.CompactarArq && !doZip.empty()) {
    try {
      for (auto& a : doZip) a.Origem = AConjunto.Temporario(a.Nome);
      CompressArquivos(doZip, AConjunto.Novo(CaminhoDeTexto(zip).filename().string()), CaminhoDeTexto(zip));
    } catch (const EInternalError&) {
      throw;
    } catch (const std::exception& e) {
      erroZip = MensagemDeErro(e);
      falhou = true;
    }
  }
  if (!falhou) {
    try {
      AConjunto.Confirmar();
    } catch (const EFileError& e) {
      erroGravacao = e.what();
      falhou = true;
    }
  }
  if (falhou) AConjunto.Descartar();
  for (const std::string& aviso : AConjunto.TomarAvisos()) ControleMensagem().AddAviso(aviso);

  for (auto& r : resultados) {
    if (r.Recusado) {
      ControleMensagem().AddAviso("Geração cancelada pelo usuário", "", r.Caminho);
    } else if (!r.Erro.empty()) {
      ControleMensagem().AddErro("Erro ao tentar gerar arquivo " + r.Nome + ": " + r.Erro, "", r.Nome);
    } else if (!falhou) {
      ControleMensagem().AddConfirmacao("Arquivo " + r.Nome + " gerado com sucesso" +
                                        (EhHttpExe() ? std::string() : ": " + r.Caminho));
      FArquivosGerados.Add(r.NomeComExtensao);
    }
  }
  if (!erroGravacao.empty()) ControleMensagem().AddErro("Erro ao tentar gravar os arquivos: " + erroGravacao);
  FLstGeradores.clear();
  if (!erroZip.empty()) ControleMensagem().AddErro("Erro ao tentar gerar arquivo compactado: " + erroZip);
  if (falhou && !doZip.empty())
    ControleMensagem().AddErro("Nenhum arquivo foi gravado em \"" + CitarValor(Requisicao.PastaDestino) +
                               "\": os arquivos anteriores ficaram como estavam.");
  if (!falhou && Requisicao.CompactarArq && !doZip.empty())
    ControleMensagem().AddMesagemImageIndex("Arquivos compactados com sucesso: " + zip, 318);
}

}  // namespace nUlmoPR
