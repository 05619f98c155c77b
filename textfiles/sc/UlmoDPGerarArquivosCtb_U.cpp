#include "UlmoDPGerarArquivosCtb_U.h"

#include <filesystem>

#include "ClassRegistry_U.h"
#include "ColetaSC_U.h"
#include "ConjuntoArquivos_U.h"
#include "Contexto_U.h"
#include "EscritorSC_U.h"
#include "FileUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "UlmoFuncoes_U.h"
#include "UlmoMenuRegra_U.h"
#include "UlmoParametros_U.h"

namespace nUlmoSC {

using namespace nFramework;

TUlmoDPGerarArquivosCtb::TUlmoDPGerarArquivosCtb() {
  SetCaption("Gerar Arquivos Contábeis - SC");
  AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Visivel = false});
  AddParam({.Alias = "pCompetInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data inicial para geração"});
  AddParam({.Alias = "pCompetFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data final para geração"});
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Hint = "Informe as empresas para geração"});
  AddParam({.Alias = "pIncluirImplSaldo", .Caption = "Incluir Implantação de Saldo", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true, .Hint = "Informe se é para apurar as implantaçãoes de saldos"});
  AddParam({.Alias = "pGeraAplicFinanceira", .Caption = "Gerar Arquivo de Aplicação Finaceira", .Dicionario = "DICSIMNAO",
            .Padrao = "0", .Obrigatorio = true,
            .Hint = "Deseja gerar o arquivo de aplicação finaceira, informe \"Sim\" caso contrário informe \"Não\""});
  AddParam({.Alias = "pGerarContaIncAlt", .Caption = "Gerar Somente Contas Incluídas/Alteradas",
            .Dicionario = "DICSIMNAO", .Padrao = "0", .Obrigatorio = true,
            .Hint = "Informe se é para gerar os arquivos somente com as contas Incluídas e Alteradas"});
  const char* origemExpr = "IGUAL(PGERAAPLICFINANCEIRA,1)";
  AddParam({.Alias = "pOriLctoAplicado", .Caption = "Origem Lançamentos Aplicados", .Dicionario = "CODIGOORIGLCTOCTB",
            .Hint = "Informe a origem para o filtro dos lançamentos aplicados", .ExpressaoHabilitado = origemExpr,
            .ExpressaoObrigatorio = origemExpr, .ClasseLookup = "KaloDCOrigemLctoCtb", .CampoLookup = "CodigoOrigLctoCtb"});
  AddParam({.Alias = "pOriLctoResgatado", .Caption = "Origem Lançamentos Resgatados", .Dicionario = "CODIGOORIGLCTOCTB",
            .Hint = "Informe a origem para o filtro dos lançamentos resgatados", .ExpressaoHabilitado = origemExpr,
            .ExpressaoObrigatorio = origemExpr, .ClasseLookup = "KaloDCOrigemLctoCtb", .CampoLookup = "CodigoOrigLctoCtb"});
  AddParam({.Alias = "pOriLctoRendimento", .Caption = "Origem Lançamentos Rendimentos",
            .Dicionario = "CODIGOORIGLCTOCTB", .Hint = "Informe a origem para o filtro dos lançamentos rendimentos",
            .ExpressaoHabilitado = origemExpr, .ExpressaoObrigatorio = origemExpr,
            .ClasseLookup = "KaloDCOrigemLctoCtb", .CampoLookup = "CodigoOrigLctoCtb"});
  AddParam({.Alias = "pDiretorio", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO", .Obrigatorio = true,
            .Hint = "Informe a pasta onde serão gerados os arquivos"});

  auto seq = std::make_unique<TClientDataSet>();
  seq->AddFieldDef("CHAVE", TFieldType::ftInteger);
  seq->AddFieldDef("SEQ", TFieldType::ftInteger);
  seq->CreateDataSet();
  FcdsSeq = &AddComponent("cdsSeq", std::move(seq));
}

void TUlmoDPGerarArquivosCtb::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                               const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPGerarArquivosCtb::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgExibir(true);
  SetBooleanoBase(false);
}

TRequisicaoSC TUlmoDPGerarArquivosCtb::MontarRequisicao() {
  TRequisicaoSC r;
  nUlmo::TPeriodoParametros periodo = nUlmo::LerPeriodoParametros(*this, "pCompetInicial", "pCompetFinal");
  r.Inicio = periodo.Inicio;
  r.Fim = periodo.Fim;
  r.Empresa = nUlmo::LerEmpresaParametro(*this);

  int sistema = StrToIntDef(Param("pCodigoSistemaTCE").AsString(), 0);
  if (sistema < 1) {
    if (const TVariant* sel = TnSelecao::GetParams().Encontrar("CODIGOSISTEMATCE"))
      sistema = VarToIntDef(*sel, 0);
    else
      sistema = nUlmo::TUlmoFuncoes::GetSistemaTCE(r.Empresa);
  }
  r.Sistema = sistema;
  if (r.Sistema == 0) throw EnParam(Param("pCompetInicial"), "Sistema inválido!");
  r.IncluirImplantacao = StrToIntDef(Trim(Param("pIncluirImplSaldo").AsString()), 0) == 1;
  r.GerarAplicacao = StrToInt(Trim(Param("pGeraAplicFinanceira").AsString())) == 1;
  if (r.GerarAplicacao) {
    r.OrigemRendimento = Trim(Param("pOriLctoRendimento").AsString());
    r.OrigemResgatado = Trim(Param("pOriLctoResgatado").AsString());
    r.OrigemAplicado = Trim(Param("pOriLctoAplicado").AsString());
  }
  r.SomenteIncluidasAlteradas = StrToIntDef(Trim(Param("pGerarContaIncAlt").AsString()), 0) == 1;
  r.PastaTexto = Param("pDiretorio").AsString();
  r.Pasta = CaminhoDeTexto(ExcludeTrailingPathDelimiter(Trim(r.PastaTexto)));
  return r;
}

void TUlmoDPGerarArquivosCtb::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  FRequisicao = MontarRequisicao();
}

void TUlmoDPGerarArquivosCtb::Executar() {
  TnDMPowerParam::Executar();
  // The panel may have changed since it was checked.
  FRequisicao = MontarRequisicao();
  const TRequisicaoSC& r = FRequisicao;

  TTransacaoRO transacao(Conexao(), 1);
  TColetaSC coleta(r);
  if (coleta.SemContas()) {
    // An error: no file is written, so the run did not do what was asked.
    MsgTree(tmErro, "Nenhuma conta contábil relacionada foi encontrada no período selecionado!");
    return;
  }
  if (coleta.SemOrigens()) {
    MsgTree(tmErro, "Nenhuma origem contábil foi relacionada!");
    MsgTree(tmParada, "Processo cancelado!");
    return;
  }
  auto progresso = CriarProgresso(this);
  struct TOcultar {
    TnFraProgresso& P;
    ~TOcultar() { P.Hide(); }
  } ocultar{*progresso};
  progresso->MostrarMultiplo();
  progresso->SetTextoTotal("Apurando Contas Contábeis...");

  // One set: after a crash the folder keeps the four old files or gets the four new ones; a
  // value that does not fit stops the run with none of them replaced.
  TConjuntoArquivos conjunto(r.Pasta);
  for (const std::string& aviso : conjunto.TomarAvisos()) MsgTree(tmAviso, aviso);
  IOutputSink* saidas[4];
  const char* const nomes[] = {"LancamentoContabil.txt", "MovimentoContabil.txt", "AplicacaoFinanceira.txt",
                               "ContaContabil.txt"};
  for (int i = 0; i < 4; ++i) saidas[i] = &conjunto.Novo(nomes[i]);
  TEscritorSC escritor(*saidas[0], *saidas[1], *saidas[2], *saidas[3]);
  coleta.Coletar(escritor, progresso.get());
  escritor.Concluir();
  for (IOutputSink* saida : saidas) saida->Commit();
  conjunto.Confirmar();
  for (const std::string& aviso : conjunto.TomarAvisos()) MsgTree(tmAviso, aviso);
  for (const char* mensagem : {"Arquivo de lançamentos contábeis gerado em ", "Arquivo de movimento contábil gerado em ",
                               "Arquivo de aplicação financeira gerado em ", "Arquivo de contas contábeis gerado em "})
    MsgTree(tmConfirmacao, mensagem + r.PastaTexto);

  if (!coleta.OrigensNaoRelacionadas().empty()) {
    std::string lista;
    for (const auto& o : coleta.OrigensNaoRelacionadas())
      lista += (lista.empty() ? "" : ";") + (o.empty() ? std::string("(sem origem)") : o);
    MsgTree(tmErro, "Origens contábeis encontradas em lançamentos e não relacionadas com tipo de movimento TCE: " + lista);
    MsgTree(tmAviso, "Os lançamentos que possuem as origens citadas acima não foram gerados/apurados!");
  }
}

int TUlmoDPGerarArquivosCtb::GetSeqCompet(int ACompet) {
  if (FcdsSeq->IndexFieldNames() != "CHAVE") FcdsSeq->SetIndexFieldNames("CHAVE");
  if (FcdsSeq->FindKey({ACompet})) return FcdsSeq->FieldByName("SEQ").AsInteger();
  FcdsSeq->Append();
  FcdsSeq->FieldByName("CHAVE").SetAsInteger(ACompet);
  FcdsSeq->FieldByName("SEQ").SetAsInteger(0);
  FcdsSeq->Post();
  return 0;
}

void TUlmoDPGerarArquivosCtb::SetSeqCompet(int ACompet, int ASeq) {
  if (FcdsSeq->IndexFieldNames() != "CHAVE") FcdsSeq->SetIndexFieldNames("CHAVE");
  if (!FcdsSeq->FindKey({ACompet})) return;
  FcdsSeq->Edit();
  FcdsSeq->FieldByName("SEQ").SetAsInteger(ASeq);
  FcdsSeq->Post();
}

static nFramework::TnRegistroUnidade gRegistro{nClasse<TUlmoDPGerarArquivosCtb>(),
                                               nClasse<TUlmoDPGerarArquivosCtbAreaTrabalho>()};

}  // namespace nUlmoSC
