// A module library for the command line's tests: a process, a process that needs a selection,
// a process with two grids and a register, each registered when the library opens.
#include <filesystem>
#include <fmt/format.h>
#include <fstream>

#include "ClassRegistry_U.h"
#include "Contexto_U.h"
#include "DMClientDataSet_U.h"
#include "Dialogo_U.h"
#include "FormatUtils_U.h"
#include "PowerParam_U.h"

using namespace nFramework;

namespace {

void Acao(TnActionList& aList, TNotifyEvent aOnExecute, const TnDataModule& aSelf, const char* aCaption, int aOrdem) {
  TnAction& a = aList.CriarAction();
  a.Category = "90 Testes";
  a.Caption = aCaption;
  a.Name = "act" + std::string(aSelf.ClassName());
  a.OnExecute = aOnExecute;
  a.Ordem = aOrdem;
  a.VerificaSelecao = aSelf.PegarVerificaSelecao();
}

class TTesteDPGerar : public TnDMPowerParam {
  N_CLASSE(TTesteDPGerar)
 public:
  TTesteDPGerar() {
    SetCaption("Gerar Arquivos de Teste");
    AddParam({.Alias = "pDataInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
              .Hint = "Informe a data inicial para geração"});
    AddParam({.Alias = "pDataFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true});
    AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true});
    AddParam({.Alias = "pFalhar", .Caption = "Falhar", .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true});
    AddParam({.Alias = "pPasta", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO"});
  }
  void GerarPrincAction(TnActionList& aList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos) override {
    if (aModulos.Contem(8)) Acao(aList, aOnExecute, *this, "Gerar Arquivos de Teste", 10);
  }
  void ValidarDado() override {
    TnDMPowerParam::ValidarDado();
    if (StrToDateDef(Param("pDataInicial").AsString(), 0) > StrToDateDef(Param("pDataFinal").AsString(), 0))
      throw EnParam(Param("pDataFinal"), "A Data Final não pode ser anterior à Data Inicial");
  }
  void Executar() override {
    TnDMPowerParam::Executar();
    GetProgresso().MostrarTexto("Gerando...");
    MsgTree(tmInformacao, "Empresa " + Param("pCodigoEmpresa").AsString());
    if (Param("pFalhar").AsString() == "1") MsgTree(tmErro, "Falha simulada");
    std::string pasta = Param("pPasta").AsString();
    if (!pasta.empty()) {
      auto caminho = std::filesystem::path(pasta) / "teste.txt";
      if (std::filesystem::exists(caminho) &&
          nMessageDlg(fmt::format(infoMSubistituirArquivoDestino, caminho.string()), mtConfirmation,
                      {"Sim", "Sim para &todos", "Não"}) == 2) {
        MsgTree(tmAviso, "Geração cancelada pelo usuário");
      } else {
        std::ofstream(caminho) << "novo\n";
        MsgTree(tmConfirmacao, "Arquivo " + caminho.string());
      }
    }
    GetProgresso().Hide();
  }
};

class TTesteDPSelecao : public TnDMPowerParam {
  N_CLASSE(TTesteDPSelecao)
 public:
  std::string PegarVerificaSelecao() const override { return "CodigoSistemaTCE"; }
  void Executar() override {
    TnDMPowerParam::Executar();
    MsgTree(tmConfirmacao, "Sistema " + VarToStr(TnSelecao::GetParams().Valor("codigosistematce")));
  }
};

// Two grids, as the send screens have them: accounts with a tick, a value list, money and a
// date, keyed by their code; and entries. Its action "sends" the ticked accounts by listing them.
class TTesteDPGrade : public TnDMPowerParam {
  N_CLASSE(TTesteDPGrade)
 public:
  TTesteDPGrade() : FContas(AddClientDataSet("curContas")), FLctos(AddClientDataSet("curLctos")) {
    SetCaption("Grade de Teste");
    AddParam({.Alias = "pFalhar", .Caption = "Falhar", .Dicionario = "DICSIMNAO", .Padrao = "0"});
    FContas.DisplayCaption = "Contas";
    FContas.AddFieldDef("ENVIAR", TFieldType::ftSmallint);
    FContas.AddFieldDef("CODIGO", TFieldType::ftInteger);
    FContas.AddFieldDef("CLASSIFCONTA", TFieldType::ftString, 20);
    FContas.AddFieldDef("NATUREZA", TFieldType::ftSmallint);
    FContas.AddFieldDef("VALOR", TFieldType::ftCurrency);
    FContas.AddFieldDef("DATA", TFieldType::ftDate);
    FContas.AddFieldDef("INTERNO", TFieldType::ftInteger);
    FContas.CreateDataSet();
    FContas.CampoMarca = "ENVIAR";
    FContas.CamposChave = "CODIGO";
    FContas.FieldByName("ENVIAR").DisplayLabel = "Enviar";
    FContas.FieldByName("CODIGO").DisplayLabel = "Código";
    FContas.FieldByName("CODIGO").ReadOnly = true;
    FContas.FieldByName("CLASSIFCONTA").DisplayLabel = "Classificação";
    FContas.FieldByName("CLASSIFCONTA").ReadOnly = true;
    FContas.FieldByName("NATUREZA").DisplayLabel = "Natureza";
    FContas.FieldByName("NATUREZA").ValueList = "Devedor=1;Credor=2";
    FContas.FieldByName("VALOR").DisplayLabel = "Valor";
    FContas.FieldByName("VALOR").DisplayFormat = "#,##0.00";
    FContas.FieldByName("DATA").DisplayLabel = "Data";
    FContas.FieldByName("INTERNO").Visible = false;
    FContas.FieldByName("VALOR").OnValidate = [](TField&, const std::string& aTexto) {
      if (!aTexto.empty() && aTexto[0] == '-') throw Exception("O valor não pode ser negativo.");
    };
    FLctos.DisplayCaption = "Lançamentos";
    FLctos.AddFieldDef("LCTO", TFieldType::ftInteger);
    FLctos.AddFieldDef("HISTORICO", TFieldType::ftString, 40);
    FLctos.CreateDataSet();
    FLctos.FieldByName("LCTO").DisplayLabel = "Lançamento";
    FLctos.FieldByName("LCTO").ReadOnly = true;
    FLctos.FieldByName("HISTORICO").DisplayLabel = "Histórico";

    auto& enviar = npqPowerParam.AddDatasetAction("actEnviar");
    enviar.Caption = "Enviar";
    enviar.DataSet = "curContas";
    enviar.OnExecute = [this](void*) {
      int enviadas = 0;
      for (FContas.First(); !FContas.Eof(); FContas.Next()) {
        if (FContas.FieldByName("ENVIAR").AsInteger() != 1) continue;
        ++enviadas;
        MsgTree(tmInformacao, "Enviada " + FContas.FieldByName("CODIGO").AsString() + " natureza " +
                                  FContas.FieldByName("NATUREZA").AsString() + " valor " +
                                  FContas.FieldByName("VALOR").AsString());
      }
      if (enviadas == 0) MsgTree(tmErro, "Nenhum registro marcado para envio.");
    };
  }
  std::vector<std::string> DataSetsGrade() const override { return {"curContas", "curLctos"}; }
  void Executar() override {
    TnDMPowerParam::Executar();
    FContas.EmptyDataSet();
    FContas.AppendRecord({0, 1, "1.1.1", 1, Currency::FromString("1500"), TVariant::FromDate(EncodeDate(2024, 1, 31)), 7});
    FContas.AppendRecord({0, 2, "1.1.2", 2, Currency::FromString("-2.5"), Null, 7});
    FContas.AppendRecord({1, 3, "2.1", Null, Null, Null, 7});
    FLctos.EmptyDataSet();
    FLctos.AppendRecord({10, "Pagamento; fornecedor \"A\""});
    if (Param("pFalhar").AsString() == "1") MsgTree(tmErro, "Falha simulada");
  }
  void GerarPrincAction(TnActionList& aList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos) override {
    if (aModulos.Contem(8)) Acao(aList, aOnExecute, *this, "Grade de Teste", 30);
  }

 private:
  TClientDataSet& FContas;
  TClientDataSet& FLctos;
};

class TTesteDMSistema : public TnDMClientDataSet {
  N_CLASSE(TTesteDMSistema)
 public:
  TTesteDMSistema() {
    SetCommandText(
        "Select t_t.CODIGOSISTEMATCE,t_t.DESCRSISTEMATCE,t_t.SIGLAESTADO,t_t.MASCPLANOTCE from TCESISTEMA t_t ORDER BY "
        "t_t.CodigoSistemaTCE");
    SetPodeAlterarChave(false);
    AddCampo({.Nome = "CODIGOSISTEMATCE", .Tipo = TFieldType::ftSmallint, .Obrigatorio = true, .Minimo = 1,
              .Maximo = 9999, .MensagemFaixa = "Código do sistema inválido!", .AutoIncrementar = true});
    AddCampo({.Nome = "DESCRSISTEMATCE", .Tipo = TFieldType::ftString, .Tamanho = 100, .Label = "Nome Sistema",
              .Obrigatorio = true});
    AddCampo({.Nome = "SIGLAESTADO", .Tipo = TFieldType::ftString, .Tamanho = 2, .Obrigatorio = true});
    AddCampo({.Nome = "MASCPLANOTCE", .Tipo = TFieldType::ftString, .Tamanho = 30, .Label = "Máscara Plano",
              .Obrigatorio = true});
  }
  std::string ChavePrimaria() const override { return "CODIGOSISTEMATCE"; }
  void GerarPrincAction(TnActionList& aList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos) override {
    if (aModulos.Contem(8)) Acao(aList, aOnExecute, *this, "Sistema de Teste", 20);
  }
};

const TnRegistroUnidade gRegistro{nClasse<TTesteDPGerar>(), nClasse<TTesteDPSelecao>(), nClasse<TTesteDPGrade>(),
                                  nClasse<TTesteDMSistema>()};

}  // namespace
