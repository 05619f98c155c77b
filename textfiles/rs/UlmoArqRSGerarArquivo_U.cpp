#include "UlmoArqRSGerarArquivo_U.h"

#include <filesystem>
#include <utility>
#include <vector>

#include "ConjuntoArquivos_U.h"
#include "ControleMensagem_U.h"
#include "FileUtils_U.h"

namespace nUlmoRS {

using namespace nFramework;

namespace {

// Puts the completed files in place together: on any failure none of the old ones is touched,
// and after a crash the folder keeps both old files or gets both new ones.
void Confirmar(TConjuntoArquivos& conjunto, const std::vector<const TUlmoArqRSGerador*>& geradores) {
  conjunto.Confirmar();
  for (const std::string& aviso : conjunto.TomarAvisos()) ControleMensagem().AddAviso(aviso);
  for (const TUlmoArqRSGerador* g : geradores)
    ControleMensagem().AddConfirmacao("Arquivo " + g->CaminhoCompleto().string(), "", g->GetFileNameArquivo());
}

TUlmoArqRSGerador::TAbrirSaida AbrirNo(TConjuntoArquivos& conjunto) {
  return [&conjunto](const std::string& nome) -> IOutputSink& { return conjunto.Novo(nome); };
}

}  // namespace

void TUlmoArqRSGerarArquivo::GerarArquivoMovimento(TConjuntoArquivos& conjunto) {
  FUlmoArquivoMovimento = std::make_unique<TUlmoArqRSGerarArquivoMovimento>();
  TUlmoArqRSGerarArquivoMovimento& g = *FUlmoArquivoMovimento;
  g.FCodigoEmpresa = FCodigoEmpresa;
  g.FCodigoSistema = FCodigoSistema;
  g.FDataInicial = FDataInicial;
  g.FDataFinal = FDataFinal;
  g.FPastaDestino = FPastaDestino;
  g.FOrigem = FOrigem;
  g.SetAbrirSaida(AbrirNo(conjunto));
  g.Executar();
}

void TUlmoArqRSGerarArquivo::GerarArquivoBalancete(TConjuntoArquivos& conjunto) {
  FUlmoArquivoBalanco = std::make_unique<TUlmoArqRSGerarArquivoBalancete>();
  TUlmoArqRSGerarArquivoBalancete& g = *FUlmoArquivoBalanco;
  g.FCodigoEmpresa = FCodigoEmpresa;
  g.FCodigoSistema = FCodigoSistema;
  g.FDataInicial = FDataInicial;
  g.FDataFinal = FDataFinal;
  g.FPastaDestino = FPastaDestino;
  g.SetAbrirSaida(AbrirNo(conjunto));
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

  TConjuntoArquivos conjunto(CombinarCaminho(CaminhoDeTexto(FPastaDestino), "MOVIMENT.txt").parent_path());
  for (const std::string& aviso : conjunto.TomarAvisos()) ControleMensagem().AddAviso(aviso);
  GerarArquivoMovimento(conjunto);
  try {
    GerarArquivoBalancete(conjunto);
  } catch (const EGravacaoCancelada&) {
    Confirmar(conjunto, {FUlmoArquivoMovimento.get()});
    throw;
  }
  Confirmar(conjunto, {FUlmoArquivoMovimento.get(), FUlmoArquivoBalanco.get()});
}

}  // namespace nUlmoRS
