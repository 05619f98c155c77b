#include "UlmoArqRSGerarArquivo_U.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "ConjuntoArquivos_U.h"
#include "ControleMensagem_U.h"

namespace nUlmoRS {

using namespace nFramework;

namespace {

struct TArquivoPronto {
  std::filesystem::path Caminho;
  std::string Nome;
  const TStringSink* Linhas;
};

// Replaces the files together, as one set: on any failure none of the old ones is touched, and
// after a crash the folder keeps both old files or gets both new ones.
void Gravar(const std::vector<TArquivoPronto>& arquivos) {
  TConjuntoArquivos conjunto(arquivos.front().Caminho.parent_path());
  for (const std::string& aviso : conjunto.TomarAvisos()) ControleMensagem().AddAviso(aviso);
  for (const auto& a : arquivos) {
    IOutputSink& saida = conjunto.Novo(a.Caminho.filename().string());
    saida.Write(a.Linhas->Text());
    saida.Commit();
  }
  conjunto.Confirmar();
  for (const std::string& aviso : conjunto.TomarAvisos()) ControleMensagem().AddAviso(aviso);
  for (const auto& a : arquivos) ControleMensagem().AddConfirmacao("Arquivo " + a.Caminho.string(), "", a.Nome);
}

}  // namespace

void TUlmoArqRSGerarArquivo::GerarArquivoMovimento(IOutputSink& saida) {
  FUlmoArquivoMovimento = std::make_unique<TUlmoArqRSGerarArquivoMovimento>();
  TUlmoArqRSGerarArquivoMovimento& g = *FUlmoArquivoMovimento;
  g.FCodigoEmpresa = FCodigoEmpresa;
  g.FCodigoSistema = FCodigoSistema;
  g.FDataInicial = FDataInicial;
  g.FDataFinal = FDataFinal;
  g.FPastaDestino = FPastaDestino;
  g.FOrigem = FOrigem;
  g.SetSaida(&saida);
  g.Executar();
}

void TUlmoArqRSGerarArquivo::GerarArquivoBalancete(IOutputSink& saida) {
  FUlmoArquivoBalanco = std::make_unique<TUlmoArqRSGerarArquivoBalancete>();
  TUlmoArqRSGerarArquivoBalancete& g = *FUlmoArquivoBalanco;
  g.FCodigoEmpresa = FCodigoEmpresa;
  g.FCodigoSistema = FCodigoSistema;
  g.FDataInicial = FDataInicial;
  g.FDataFinal = FDataFinal;
  g.FPastaDestino = FPastaDestino;
  g.SetSaida(&saida);
  g.Executar();
}

void TUlmoArqRSGerarArquivo::GerarArquivos() {
  struct TLiberar {
    TUlmoArqRSGerarArquivo& F;
    ~TLiberar() {
      F.FUlmoArquivoMovimento.reset();
      F.FUlmoArquivoBalanco.reset();
    }
  } liberar{*this};

  TStringSink movimento, balancete;
  GerarArquivoMovimento(movimento);
  TArquivoPronto mov{FUlmoArquivoMovimento->CaminhoCompleto(), FUlmoArquivoMovimento->GetFileNameArquivo(), &movimento};
  try {
    GerarArquivoBalancete(balancete);
  } catch (const EGravacaoCancelada&) {
    Gravar({mov});
    throw;
  }
  TArquivoPronto bal{FUlmoArquivoBalanco->CaminhoCompleto(), FUlmoArquivoBalanco->GetFileNameArquivo(), &balancete};
  Gravar({mov, bal});
}

}  // namespace nUlmoRS
