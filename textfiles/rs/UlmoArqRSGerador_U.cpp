#include "UlmoArqRSGerador_U.h"

#include <fmt/format.h>

#include <memory>

#include "Clock_U.h"
#include "Dialogo_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"

namespace nUlmoRS {

using namespace nFramework;

TUlmoArqRSGerador::TUlmoArqRSGerador() { SetMsgTreeExibir(true); }

std::filesystem::path TUlmoArqRSGerador::CaminhoCompleto() const {
  return CombinarCaminho(CaminhoDeTexto(FPastaDestino), FNomeArquivo);
}

void TUlmoArqRSGerador::Executar() {
  FContador = 0;
  FNomeArquivo = NomeArquivo();
  const std::filesystem::path caminho = CaminhoCompleto();

  // Asked for each file: "Sim para todos" is not remembered.
  if (std::filesystem::exists(caminho)) {
    int resposta = nMessageDlg(fmt::format(infoMSubistituirArquivoDestino, FNomeArquivo), mtConfirmation,
                               {"Sim", "Sim para todos", "Não"}, 0, 2);
    if (resposta != 0 && resposta != 1)
      throw EGravacaoCancelada(fmt::format(erroMGravarcaoArquivoDestinoCancelada, FNomeArquivo));
  }

  struct TLiberar {
    TUlmoArqRSGerador& G;
    ~TLiberar() { G.LiberarDados(); }
  } liberar{*this};

  CarregarDados();

  std::unique_ptr<TAtomicFile> proprio;
  IOutputSink* saida = nullptr;
  if (FAbrirSaida) {
    saida = &FAbrirSaida(FNomeArquivo);
  } else {
    proprio = std::make_unique<TAtomicFile>(caminho);
    saida = proprio.get();
  }
  TEscritorLeiaute escritor(*saida, FNomeArquivo);
  escritor.Linha(LayoutCabecalho())
      .Texto(LimparStrToInscricaoFederal(FInscrFederal, "0"))
      .Data(FDataInicial)
      .Data(FDataFinal)
      .Data(Date())
      .Texto(FNomeEmpresa)
      .Gravar();
  EscreverDetalhes(escritor);
  escritor.Linha(LayoutFinalizador()).Texto("FINALIZADOR").Numero(FContador).Gravar();
  escritor.Concluir();
  saida->Commit();
}

void TUlmoArqRSGerador::CarregarEmpresa() {
  TVariant v = PegarValorCampo("EMPRESA E join ESTAB F on E.CODIGOEMPRESA = F.CODIGOEMPRESA",
                               "E.NOMEEMPRESA, F.INSCRFEDERAL",
                               "E.CODIGOEMPRESA = " + ValorParaSQL(FCodigoEmpresa, TFieldType::ftInteger) +
                                   " and F.CODIGOESTAB = 1");
  FNomeEmpresa.clear();
  FInscrFederal.clear();
  if (v.IsArray()) {
    if (!v[0].IsNull()) FNomeEmpresa = v[0].AsString();
    if (!v[1].IsNull()) FInscrFederal = v[1].AsString();
  }
}

std::vector<TVariant> TUlmoArqRSGerador::LerGrupos(const char* prefixo) const {
  std::string campos;
  for (int i = 1; i <= 9; ++i) campos += (i > 1 ? "," : "") + std::string(prefixo) + std::to_string(i);
  TVariant v = PegarValorCampo("CFGPLANOESPEC", campos,
                               "CODIGOEMPRESA = " + ValorParaSQL(FCodigoEmpresa, TFieldType::ftInteger));
  if (!v.IsArray())
    throw Exception("A configuração do plano de contas da empresa " + std::to_string(FCodigoEmpresa) +
                    " (CFGPLANOESPEC) não foi encontrada. Nenhum arquivo foi gerado.");
  std::vector<TVariant> r;
  for (size_t i = 0; i < 9; ++i) r.push_back(v[i]);
  return r;
}

int TUlmoArqRSGerador::Grupo(const std::string& classif, const std::string& conta) const {
  if (classif.empty() || classif[0] < '0' || classif[0] > '9') return 1;
  if (classif[0] == '0')
    throw Exception("Arquivo " + FNomeArquivo + ", conta " + conta + ": a classificação " + classif +
                    " começa pelo dígito 0, que não é um grupo do plano de contas. Nenhum arquivo foi gerado.");
  return classif[0] - '0';
}

int TUlmoArqRSGerador::ValorGrupo(const std::vector<TVariant>& grupos, int n, const char* prefixo,
                                  const std::string& conta) const {
  const TVariant& v = grupos.at(static_cast<size_t>(n - 1));
  int64_t valor = 0;
  if (v.IsNull() || !TryStrToInt64(v.AsString(), valor))
    throw Exception("Arquivo " + FNomeArquivo + ", conta " + conta + ": o campo " + prefixo + std::to_string(n) +
                    " da configuração do plano de contas da empresa " + std::to_string(FCodigoEmpresa) +
                    " não está informado. Nenhum arquivo foi gerado.");
  return static_cast<int>(valor);
}

}  // namespace nUlmoRS
