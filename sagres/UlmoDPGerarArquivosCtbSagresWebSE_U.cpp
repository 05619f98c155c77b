#include "UlmoDPGerarArquivosCtbSagresWebSE_U.h"

#include <filesystem>
#include <sstream>

#include <pugixml.hpp>

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
#include "UlmoSagresWebConfiguracao_U.h"
#include "UlmoSagresWebExecEmpBinding_U.h"
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

void TUlmoDPGerarArquivosCtbSagresWebSE::ValidarDado() {
  TnDMPowerParam::ValidarDado();
  // A date of a year before 1900 or after 2100 is no date: from year 1 the run would write a
  // folder for each of 24,277 months.
  auto data = [this](const char* AAlias) {
    TDateTime d;
    return TryStrToDateParametro(Trim(Param(AAlias).AsString()), d) ? d : 0;
  };
  FDataInicial = data("pDataInicial");
  FDataFinal = data("pDataFinal");
  FCodigoEmpresa = StrToIntDef(Trim(Param("pCodigoEmpresa").AsString()), 0);
  FUnidadeGestora = Trim(Param("pUnidadeGestora").AsString());
  int64_t contaAlmoxarifado = 0;
  if (!TryStrToInt64(Trim(Param("pContaCtbAlmoxarifado").AsString()), contaAlmoxarifado)) contaAlmoxarifado = 0;
  FContaCtbAlmoxarifado = contaAlmoxarifado;
  FPastaDestino = Trim(Param("pPastaDestino").AsString());

  std::string empresa = ValorParaSQL(FCodigoEmpresa, TFieldType::ftInteger);
  if (!PegarTemRegistro("EMPRESA", "CODIGOEMPRESA", "CODIGOEMPRESA = " + empresa))
    throw EnParam(Param("pCodigoEmpresa"), "Código da empresa inválido!");
  // Checked even when a system is selected: the selection may be another court's system, and
  // the documents would then go to TCE-SE for a company that is not registered there.
  TVariant v = PegarValorCampo("TCESISTEMAEMPRESA E join TCESISTEMA S on S.CODIGOSISTEMATCE = E.CODIGOSISTEMATCE",
                               "E.CODIGOSISTEMATCE", "E.CODIGOEMPRESA = " + empresa + " and upper(S.SIGLAESTADO) = 'SE'");
  if (StrToIntDef(VarToStr(v), 0) == 0)
    throw Exception(
        "Necessário realizar cadastro do sistema vinculado a empresa em Áreas de Trabalho / TCE / Plano de Contas!");
  FCodigoSistemaTCE = StrToInt(Trim(Param("pCodigoSistemaTCE").AsString()));
  if (FCodigoSistemaTCE == 0) throw EnParam(Param("pDataInicial"), "Sistema inválido!");
  // A date that is not a date would silently become an empty period.
  if (FDataInicial == 0) throw EnParam(Param("pDataInicial"), "Data inicial inválida!");
  if (FDataFinal == 0) throw EnParam(Param("pDataFinal"), "Data final inválida!");
  if (FDataInicial > FDataFinal)
    throw EnParam(Param("pDataFinal"), "A Data Final não pode ser menor que a Data Inicial!");
  // The unit's code goes as it is into every month's document: one line, as the court reads it.
  for (unsigned char c : FUnidadeGestora)
    if (c < 0x20 || c == 0x7F) throw EnParam(Param("pUnidadeGestora"), "Unidade gestora inválida!");
  // An account outside the company's chart has no balance: the stores would be left out of every
  // month without a word.
  if (contaAlmoxarifado < 1 ||
      !PegarTemRegistro("PLANOESPEC", "CONTACTB",
                        "CODIGOEMPRESA = " + empresa + " and CONTACTB = " +
                            ValorParaSQL(TVariant(contaAlmoxarifado), TFieldType::ftLargeint)))
    throw EnParam(Param("pContaCtbAlmoxarifado"), "Conta contábil do almoxarifado inválida!");
}

namespace {

// Frees the run's singletons however the run ends, so the next run starts afresh.
struct TLiberarSingletons {
  ~TLiberarSingletons() {
    TUlmoSagresWebConfiguracao::Destruir();
    TUlmoSagresWebRegraCalculoCtb::Destruir();
  }
};

// Hands the run's tree to the message controller, for the writers' warnings, and gives the
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
  std::unique_ptr<TClientDataSet> periodo = GerarDataPeriodo(FDataInicial, FDataFinal, 3);
  TLiberarSingletons liberar;
  TUlmoSagresWebConfiguracao& cfg = TUlmoSagresWebConfiguracao::Instance();
  cfg.CodigoSistemaTCE = FCodigoSistemaTCE;
  cfg.DataInicial = FDataInicial;
  cfg.DataFinal = FDataFinal;
  cfg.CodigoEmpresa = FCodigoEmpresa;
  cfg.UnidadeGestora = FUnidadeGestora;
  cfg.ContaCtbAlmoxarifado = FContaCtbAlmoxarifado;
  cfg.PastaDestino = FPastaDestino;
  TUlmoSagresWebRegraCalculoCtb& regras = TUlmoSagresWebRegraCalculoCtb::Instance();
  TUlmoSagresWebGerador gerador;
  TAnexarArvore anexar(GetMsgTreeLista());
  {
    TTransacaoRO transacao(Conexao(), 1);
    regras.PrepararPeriodo(FDataInicial, FDataFinal);
  }

  TField& dataInicial = periodo->FieldByName("DATAINICIAL");
  TField& dataFinal = periodo->FieldByName("DATAFINAL");
  for (periodo->First(); !periodo->Eof(); periodo->Next()) {
    FMsgTreeNodeItem = GetMsgTreeLista()->AddImageIndex(77, TextoCompetencia(dataInicial.AsDateTime()));
    FMsgTreeNodeItem->Chave = FMsgTreeNodeItem->Texto;
    pugi::xml_document documento;
    try {
      TTransacaoRO transacao(Conexao(), 1);
      cfg.DataInicial = dataInicial.AsDateTime();
      cfg.DataFinal = dataFinal.AsDateTime();
      regras.ExecutarGerarSaldoCtb();
      gerador.ListaExecucaoEmpresas = PegarExecucaoEmpresas(documento);
      gerador.Executar();
      pugi::xml_node raiz = documento.document_element();
      raiz.append_attribute("xmlns:exec") =
          (std::string("http://") + kHostSagres + "/sagres2017/xml/ExecucaoEmpresas").c_str();
      raiz.append_attribute("xmlns:genEmp") =
          (std::string("http://") + kHostSagres + "/sagres2017/xml/GenericosEmpresas").c_str();

      // The month's folder is made with its archive, and goes again when the archive fails.
      fs::path pasta = CaminhoDeTexto(FPastaDestino) / FormatDateTime("yyyy_mm", dataInicial.AsDateTime());
      fs::path arquivo = pasta / fs::path("ExecucaoEmpresas.xml").replace_extension(".zip");
      pugi::xml_node declaracao = documento.prepend_child(pugi::node_declaration);
      declaracao.append_attribute("version") = "1.0";
      declaracao.append_attribute("encoding") = "utf-8";
      std::ostringstream xml;
      documento.save(xml, "  ", pugi::format_default, pugi::encoding_utf8);
      // Written in memory and renamed into place: a failed month never leaves a broken archive.
      Compress(xml.str(), arquivo, "", "ExecucaoEmpresas.xml");
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
