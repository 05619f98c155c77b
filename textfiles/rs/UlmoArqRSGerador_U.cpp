#include "UlmoArqRSGerador_U.h"

#include <fmt/format.h>

#include "Clock_U.h"
#include "Dialogo_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"

namespace nUlmoRS {

using namespace nFramework;

TUlmoArqRSGerador::TUlmoArqRSGerador() { SetMsgTreeExibir(true); }

std::filesystem::path TUlmoArqRSGerador::CaminhoCompleto() const {
  TGeneratorFile g(FPastaDestino, FNomeArquivo);
  return g.FullPath();
}

void TUlmoArqRSGerador::Executar() {
  FContador = 0;
  FNomeArquivo = NomeArquivo();
  TGeneratorFile gerador(FPastaDestino, FNomeArquivo, "");
  gerador.Preparar();

  // Asked for each file: "Sim para todos" is not remembered.
  if (std::filesystem::exists(gerador.FullPath())) {
    int resposta = nMessageDlg(fmt::format(infoMSubistituirArquivoDestino, FNomeArquivo), mtConfirmation,
                               {"Sim", "Sim para todos", "Não"}, 0, 2);
    if (resposta != 0 && resposta != 1)
      throw EGravacaoCancelada(fmt::format(erroMGravarcaoArquivoDestinoCancelada, FNomeArquivo));
  }
  if (FAbrirSaida) gerador.SetSink(&FAbrirSaida(FNomeArquivo));

  struct TLiberar {
    TUlmoArqRSGerador& G;
    TGeneratorFile& Gerador;
    ~TLiberar() {
      Gerador.Finalizar();
      G.LiberarDados();
    }
  } liberar{*this, gerador};

  CarregarDados();

  TRecord& cab = gerador.Records().CreateRecord("CAB");
  DeclararCampos(cab, LayoutCabecalho());
  cab.SetOnFill([this](TRecord& r, bool&) {
    std::string cnpj = LimparStrToInscricaoFederal(FInscrFederal, "0");
    if (Utf8Length(cnpj) > 14) throw ENaoCabeRS(FNomeArquivo, "", "CNPJ", cnpj, 14);
    r.FieldByName("CNPJ")->SetAsString(cnpj);
    r.FieldByName("DATAINICIAL")->SetAsString(FormatDateTime("DDMMYYYY", FDataInicial));
    r.FieldByName("DATAFINAL")->SetAsString(FormatDateTime("DDMMYYYY", FDataFinal));
    r.FieldByName("DATAGERACAO")->SetAsString(FormatDateTime("DDMMYYYY", Date()));
    r.FieldByName("SETOR")->SetAsString(Setor());
  });

  TRecord& det = gerador.Records().CreateRecord(NomeDetalhe());
  DeclararCampos(det, LayoutDetalhe());
  det.SetOnFill([this](TRecord& r, bool& skip) { PreencherDetalhe(r, skip); });
  det.SetOnNext([this](TRecord&, bool& more) { ProximoDetalhe(more); });

  TRecord& fin = gerador.Records().CreateRecord("FIN");
  DeclararCampos(fin, LayoutFinalizador());
  fin.SetOnFill([this](TRecord& r, bool&) {
    r.FieldByName("DESCRICAO")->SetAsString("FINALIZADOR");
    r.FieldByName("QTDE")->SetAsString(NumeroRS(std::to_string(FContador), 10, Contexto(), "QTDE"));
  });

  gerador.Gerar();
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
