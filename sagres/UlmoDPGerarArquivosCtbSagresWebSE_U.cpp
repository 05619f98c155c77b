#include "UlmoDPGerarArquivosCtbSagresWebSE_U.h"

#include <filesystem>

#include "AtomicFile_U.h"
#include "ClassRegistry_U.h"
#include "Conexao_U.h"
#include "ControleMensagem_U.h"
#include "FileUtils_U.h"
#include "FormatUtils_U.h"
#include "Nutil_U.h"
#include "Periodo_U.h"
#include "SQL_U.h"
#include "TextoMensagem_U.h"
#include "UlmoMenuRegra_U.h"
#include "UlmoSagresWebGerador_U.h"
#include "UlmoSagresWebRegraCalculoCtb_U.h"
#include "Zip_U.h"

namespace nUlmoSagres {

using namespace nFramework;
namespace fs = std::filesystem;

TUlmoDPGerarArquivosCtbSagresWebSE::TUlmoDPGerarArquivosCtbSagresWebSE() {
  SetCaption("Gerar Arquivos Contábeis Sagres Web - SE");
  AddParam({.Alias = "pCodigoSistemaTCE", .Dicionario = "CODIGOSISTEMATCE", .Visivel = false});
  AddParam({.Alias = "pDataInicial", .Caption = "Data Inicial", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data inicial para geração"});
  AddParam({.Alias = "pDataFinal", .Caption = "Data Final", .Dicionario = "DICDATA", .Obrigatorio = true,
            .Hint = "Informe a data final para geração"});
  AddParam({.Alias = "pCodigoEmpresa", .Dicionario = "CODIGOEMPRESA", .Obrigatorio = true,
            .Hint = "Informe a empresa para geração"});
  AddParam({.Alias = "pUnidadeGestora", .Caption = "Unidade Gestora", .Obrigatorio = true,
            .Hint = "Informe o código da unidade gestora"});
  AddParam({.Alias = "pContaCtbAlmoxarifado", .Caption = "Conta Contábil Almoxarifado", .Dicionario = "CONTACTB",
            .Obrigatorio = true, .Hint = "Informe o código da conta contábil para movimentação de almoxarifado"});
  AddParam({.Alias = "pPastaDestino", .Caption = "Pasta Destino", .Dicionario = "DICDIRETORIO", .Obrigatorio = true});
}

void TUlmoDPGerarArquivosCtbSagresWebSE::GerarPrincAction(TnActionList& AActionList, TNotifyEvent AOnExecute,
                                                          const TnPerModulos& AModulos) {
  nUlmoMenu::GerarPrincAction(*this, AActionList, AOnExecute, AModulos);
}

void TUlmoDPGerarArquivosCtbSagresWebSE::DataModuleCreate() {
  TnDMPowerParam::DataModuleCreate();
  SetMsgTreeExibir(true);
  SetBooleanoBase(false);
}

TRequisicaoSagres TUlmoDPGerarArquivosCtbSagresWebSE::MontarRequisicao() {
  TRequisicaoSagres r;
  // A date of a year before 1900 or after 2100 is no date: from year 1 the run would write a
  // folder for each of 24,277 months.
  auto data = [this](const char* AAlias) {
    TDateTime d;
    return TryStrToDateParametro(Trim(Param(AAlias).AsString()), d) ? d : 0;
  };
  r.Inicio = data("pDataInicial");
  r.Fim = data("pDataFinal");
  r.Empresa = StrToIntDef(Trim(Param("pCodigoEmpresa").AsString()), 0);
  r.UnidadeGestora = Trim(Param("pUnidadeGestora").AsString());
  if (!TryStrToInt64(Trim(Param("pContaCtbAlmoxarifado").AsString()), r.ContaAlmoxarifado)) r.ContaAlmoxarifado = 0;
  r.PastaTexto = Trim(Param("pPastaDestino").AsString());
  r.Pasta = CaminhoDeTexto(r.PastaTexto);

  std::string empresa = ValorParaSQL(r.Empresa, TFieldType::ftInteger);
  if (!PegarTemRegistro("EMPRESA", "CODIGOEMPRESA", "CODIGOEMPRESA = " + empresa))
    throw EnParam(Param("pCodigoEmpresa"), "Código da empresa inválido!");
  // Checked even when a system is selected: the selection may be another court's system, and
  // the documents would then go to TCE-SE for a company that is not registered there.
  TVariant v = PegarValorCampo("TCESISTEMAEMPRESA E join TCESISTEMA S on S.CODIGOSISTEMATCE = E.CODIGOSISTEMATCE",
                               "E.CODIGOSISTEMATCE", "E.CODIGOEMPRESA = " + empresa + " and upper(S.SIGLAESTADO) = 'SE'");
  if (StrToIntDef(VarToStr(v), 0) == 0)
    throw Exception(
        "Necessário realizar cadastro do sistema vinculado a empresa em Áreas de Trabalho / TCE / Plano de Contas!");
  r.Sistema = StrToInt(Trim(Param("pCodigoSistemaTCE").AsString()));
  if (r.Sistema == 0) throw EnParam(Param("pDataInicial"), "Sistema inválido!");
  // A date that is not a date would silently become an empty period.
  if (r.Inicio == 0) throw EnParam(Param("pDataInicial"), "Data inicial inválida!");
  if (r.Fim == 0) throw EnParam(Param("pDataFinal"), "Data final inválida!");
  if (r.Inicio > r.Fim) throw EnParam(Param("pDataFinal"), "A Data Final não pode ser menor que a Data Inicial!");
  // The unit's code goes as it is into every month's document: one line, as the court reads it.
  for (unsigned char c : r.UnidadeGestora)
    if (c < 0x20 || c == 0x7F) throw EnParam(Param("pUnidadeGestora"), "Unidade gestora inválida!");
  // An account outside the company's chart has no balance: the stores would be left out of every
  // month without a word.
  if (r.ContaAlmoxarifado < 1 ||
      !PegarTemRegistro("PLANOESPEC", "CONTACTB",
                        "CODIGOEMPRESA = " + empresa + " and CONTACTB = " +
                            ValorParaSQL(TVariant(r.ContaAlmoxarifado), TFieldType::ftLargeint)))
    throw EnParam(Param("pContaCtbAlmoxarifado"), "Conta contábil do almoxarifado inválida!");
  return r;
}

void TUlmoDPGerarArquivosCtbSagresWebSE::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  FRequisicao = MontarRequisicao();
}

namespace {

// Hands the run's tree to the message controller, for the collectors' warnings, and gives the
// controller back its earlier tree however the run ends.
struct TAnexarArvore {
  explicit TAnexarArvore(std::shared_ptr<ITreeMessager> AArvore) : FAnterior(ControleMensagem().FraListaMensagemTree()) {
    ControleMensagem().SetFraListaMensagemTree(std::move(AArvore));
  }
  ~TAnexarArvore() { ControleMensagem().SetFraListaMensagemTree(FAnterior); }
  std::shared_ptr<ITreeMessager> FAnterior;
};

}  // namespace

void TUlmoDPGerarArquivosCtbSagresWebSE::Executar() {
  TnDMPowerParam::Executar();
  const TRequisicaoSagres& r = FRequisicao;
  std::unique_ptr<TClientDataSet> periodo = GerarDataPeriodo(r.Inicio, r.Fim, 3);
  TUlmoSagresWebRegraCalculoCtb regras;
  TUlmoSagresWebGerador gerador;
  TAnexarArvore anexar(GetMsgTreeLista());
  {
    TTransacaoRO transacao(Conexao(), 1);
    regras.PrepararPeriodo(r.Empresa, r.Inicio, r.Fim);
  }

  TField& dataInicial = periodo->FieldByName("DATAINICIAL");
  TField& dataFinal = periodo->FieldByName("DATAFINAL");
  for (periodo->First(); !periodo->Eof(); periodo->Next()) {
    const TMesSagres mes{r, dataInicial.AsDateTime(), dataFinal.AsDateTime(), regras};
    FMsgTreeNodeItem = GetMsgTreeLista()->AddImageIndex(77, TextoCompetencia(mes.Inicio));
    FMsgTreeNodeItem->Chave = FMsgTreeNodeItem->Texto;
    try {
      TTransacaoRO transacao(Conexao(), 1);
      regras.ExecutarGerarSaldoCtb(r.Empresa, mes.Inicio, mes.Fim);
      // The month's folder is made with its archive, and goes again when the archive fails;
      // the document streams into the archive's entry, and the archive is put in place whole.
      fs::path arquivo = r.Pasta / FormatDateTime("yyyy_mm", mes.Inicio) / "ExecucaoEmpresas.zip";
      TAtomicFile zip(arquivo);
      TEntradaZip xml(zip, arquivo, "ExecucaoEmpresas.xml");
      gerador.GerarDocumento(mes, xml);
      xml.Commit();
      GetMsgTreeLista()->Add(tmConfirmacao, "Arquivo gerado: " + arquivo.string(), FMsgTreeNodeItem);
    } catch (const std::exception& e) {
      // An error, not an information: the month's document was not produced.
      GetMsgTreeLista()->Add(tmErro,
                             "Ocorreu um problema ao gerar o arquivo! Menssagem original: " + MensagemDeErro(e),
                             FMsgTreeNodeItem);
    }
  }
  FMsgTreeNodeItem = nullptr;
}

static TnRegistroUnidade gRegistro{nClasse<TUlmoDPGerarArquivosCtbSagresWebSE>(),
                                   nClasse<TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho>()};

}  // namespace nUlmoSagres
