// A module library for the command line's tests: a process, a process that needs a selection
// and a register, each registered when the library opens.
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

const TnRegistroUnidade gRegistro{nClasse<TTesteDPGerar>(), nClasse<TTesteDPSelecao>(), nClasse<TTesteDMSistema>()};

}  // namespace
