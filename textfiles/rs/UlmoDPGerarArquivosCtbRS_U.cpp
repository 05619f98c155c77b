#include "UlmoDPGerarArquivosCtbRS_U.h"

#include <memory>

#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "ControleMensagem_U.h"
#include "Exceptions_U.h"
#include "FormatUtils_U.h"
#include "Progresso_U.h"
#include "UlmoArqRSGerarArquivo_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoParametros_U.h"
#include "UlmoMenuRegra_U.h"

namespace nUlmoRS {

using namespace nFramework;

TUlmoDPGerarArquivosCtbRS::TUlmoDPGerarArquivosCtbRS() {
  SetCaption("Gerar Arquivos Contábeis - RS");
  AddParam({.Alias = "pDataInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data inicial para geração"});
  AddParam({.Alias = "pDataFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data final para geração"});
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Hint = "Informe as empresas para geração"});
  AddParam({.Alias = "pOriLcto", .Caption = "Origem Lançamentos", .Dicionario = "CODIGOORIGLCTOCTB", .Padrao = "'ZZ'",
            .Hint = "Informe a origem para o filtro dos lançamentos", .ClasseLookup = "KaloDCOrigemLctoCtb",
            .CampoLookup = "CodigoOrigLctoCtb", .MultiplosValores = true});
  AddParam({.Alias = "pDiretorio", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO", .Obrigatorio = true,
            .Hint = "Informe a pasta onde serão gerados os arquivos"});
  AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Visivel = false});
}

TUlmoDPGerarArquivosCtbRS::~TUlmoDPGerarArquivosCtbRS() = default;

void TUlmoDPGerarArquivosCtbRS::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                 const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPGerarArquivosCtbRS::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgTreeExibir(true);
  SetMsgExibir(true);
  SetBooleanoBase(false);
}

TUlmoDPGerarArquivosCtbRS::TRequisicao TUlmoDPGerarArquivosCtbRS::LerRequisicao() const {
  TRequisicao p;
  nUlmo::TPeriodoParametros periodo = nUlmo::LerPeriodoParametros(*this, "pDataInicial", "pDataFinal");
  p.DataInicial = periodo.Inicio;
  p.DataFinal = periodo.Fim;
  p.Empresa = nUlmo::LerEmpresaParametro(*this);
  p.PastaDestino = Trim(Param("pDiretorio").AsString());
  p.Origem = Trim(Param("pOriLcto").AsString());
  return p;
}

void TUlmoDPGerarArquivosCtbRS::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  FRequisicao.reset();
  FRequisicao = LerRequisicao();
  ControleMensagem().SetFraListaMensagemTree(GetMsgTreeLista());
}

int TUlmoDPGerarArquivosCtbRS::SistemaDaExecucao(int ACodigoEmpresa) const {
  int sistema = StrToIntDef(Trim(GetControlValues("pCodigoSistemaTCE")), 0);
  if (sistema >= 1) return sistema;
  if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE")) return VarToIntDef(*sel, 0);
  return nUlmo::TUlmoFuncoes::GetSistemaTCE(ACodigoEmpresa);
}

void TUlmoDPGerarArquivosCtbRS::Executar() {
  TnDMPowerParam::Executar();
  if (!FRequisicao) throw EInternalError("TUlmoDPGerarArquivosCtbRS executado sem ValidarDado");
  const TRequisicao& p = *FRequisicao;
  std::unique_ptr<TnFraProgresso> progresso = CriarProgresso(this);
  progresso->MostrarMultiplo();
  progresso->SetEhCircularParcial(true);

  auto arquivo = std::make_unique<TUlmoArqRSGerarArquivo>();
  struct TLiberar {
    TUlmoDPGerarArquivosCtbRS& P;
    std::unique_ptr<TnFraProgresso>& Progresso;
    ~TLiberar() {
      P.FUlmoGerarArquivo = nullptr;
      Progresso->Hide();
    }
  } liberar{*this, progresso};
  FUlmoGerarArquivo = arquivo.get();

  arquivo->FCodigoEmpresa = p.Empresa;
  arquivo->FDataInicial = p.DataInicial;
  arquivo->FDataFinal = p.DataFinal;
  arquivo->FPastaDestino = p.PastaDestino;
  arquivo->FOrigem = p.Origem;
  arquivo->FCodigoSistema = SistemaDaExecucao(p.Empresa);

  {
    TTransacaoRO transacao(Conexao(), 1);
    // Files of a header and a closing line only would tell the court the company has no accounts.
    if (!nUlmo::TUlmoFuncoes::TemContaRelacionada(p.Empresa, arquivo->FCodigoSistema, p.DataInicial, p.DataFinal)) {
      MsgTree(tmErro, nUlmo::MsgNenhumaContaRelacionada);
      return;
    }
    arquivo->GerarArquivos();
  }
  ControleMensagem().ExpandAll();
}

static nFramework::TnRegistroUnidade gRegistro{nClasse<TUlmoDPGerarArquivosCtbRS>(),
                                               nClasse<TUlmoDPGerarArquivosCtbRSAreaTrabalho>()};

}  // namespace nUlmoRS
