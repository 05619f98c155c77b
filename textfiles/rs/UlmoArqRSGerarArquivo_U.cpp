#include "UlmoArqRSGerarArquivo_U.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "ControleMensagem_U.h"

namespace nUlmoRS {

using namespace nFramework;

namespace {

struct TArquivoPronto {
  std::filesystem::path Caminho;
  std::string Nome;
  const TStringSink* Linhas;
};

// Replaces the files together; on any failure none of the old ones is touched.
void Gravar(const std::vector<TArquivoPronto>& arquivos) {
  std::vector<std::unique_ptr<TAtomicFile>> saidas;
  for (const auto& a : arquivos) {
    saidas.push_back(std::make_unique<TAtomicFile>(a.Caminho));
    saidas.back()->Write(a.Linhas->Text());
  }
  for (size_t i = 0; i < saidas.size(); ++i) {
    saidas[i]->Commit();
    ControleMensagem().AddConfirmacao("Arquivo " + arquivos[i].Caminho.string(), "", arquivos[i].Nome);
  }
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
