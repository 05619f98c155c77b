#include "VisaoCapturas_U.h"

#include <QApplication>
#include <QHeaderView>
#include <QPixmap>
#include <QScrollBar>
#include <QTreeView>

#include "ClientDataSet_U.h"
#include "Exceptions_U.h"
#include "FrmPowerParamcxGridCloseTab_U.h"
#include "ModeloDataSet_U.h"
#include "VisaoGradeBandas_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

void Campo(TClientDataSet& d, const char* nome, const char* rotulo, const char* banda, const char* lista = "",
           const char* formato = "") {
  TField& f = d.FieldByName(nome);
  f.DisplayLabel = rotulo;
  f.Band = banda;
  f.ValueList = lista;
  f.DisplayFormat = formato;
  f.ReadOnly = true;
}

std::unique_ptr<TClientDataSet> Lancamentos() {
  auto d = std::make_unique<TClientDataSet>();
  d->AddFieldDef("Enviar", TFieldType::ftSmallint);
  d->AddFieldDef("NumeroSlip", TFieldType::ftString, 16);
  d->AddFieldDef("NumeroSequencial", TFieldType::ftInteger);
  d->AddFieldDef("TipoLancamento", TFieldType::ftInteger);
  d->AddFieldDef("DescrTipoMovimentoContabil", TFieldType::ftString, 100);
  d->AddFieldDef("ContaTce", TFieldType::ftFloat);
  d->AddFieldDef("ClassifDescrContaContabil", TFieldType::ftString, 150);
  d->AddFieldDef("ChaveLctoCtb", TFieldType::ftInteger);
  d->AddFieldDef("DataLancamento", TFieldType::ftDate);
  d->AddFieldDef("ValorLancamento", TFieldType::ftFloat);
  d->AddFieldDef("HistoricoLancamento", TFieldType::ftString, 150);
  d->CreateDataSet();
  struct TConta {
    double Tce;
    const char* Classif;
  };
  const TConta contas[] = {{111110100, "1.1.1.1.1.01.00 Caixa"},
                           {111110600, "1.1.1.1.1.06.00 Bancos Conta Movimento"},
                           {213110100, "2.1.3.1.1.01.00 Fornecedores Nacionais"},
                           {332110100, "3.3.2.1.1.01.00 Material de Consumo"},
                           {452110100, "4.5.2.1.1.01.00 Transferências Recebidas"}};
  struct TLcto {
    int Mes, Dia, Debito, Credito;
    double Valor;
    const char* Historico;
  };
  const TLcto lctos[] = {{1, 3, 1, 4, 12500.00, "Repasse recebido da Prefeitura Municipal"},
                         {1, 3, 3, 2, 1830.45, "Compra de material de expediente NF 4512"},
                         {1, 10, 2, 1, 2300.00, "Pagamento ao fornecedor Papelaria Central"},
                         {1, 21, 0, 1, 95.30, "Tarifa bancária de manutenção de conta"},
                         {2, 1, 1, 4, 12500.00, "Repasse recebido da Prefeitura Municipal"},
                         {2, 14, 3, 2, 640.00, "Compra de material de limpeza NF 881"}};
  int seq = 0, chave = 5100;
  for (const TLcto& l : lctos) {
    ++chave;
    for (int lado = 0; lado < 2; ++lado) {
      const TConta& c = contas[lado == 0 ? l.Debito : l.Credito];
      d->Append();
      d->FieldByName("Enviar").SetAsInteger(l.Mes == 1 ? 1 : 0);
      d->FieldByName("NumeroSlip").SetAsString(l.Mes == 1 ? "202201" : "202202");
      d->FieldByName("NumeroSequencial").SetAsInteger(++seq);
      d->FieldByName("TipoLancamento").SetAsInteger(lado == 0 ? 2 : 1);
      d->FieldByName("DescrTipoMovimentoContabil").SetAsString("Movimento Normal");
      d->FieldByName("ContaTce").SetAsFloat(c.Tce);
      d->FieldByName("ClassifDescrContaContabil").SetAsString(c.Classif);
      d->FieldByName("ChaveLctoCtb").SetAsInteger(chave);
      d->FieldByName("DataLancamento").SetAsDateTime(EncodeDate(2022, l.Mes, l.Dia));
      d->FieldByName("ValorLancamento").SetAsFloat(l.Valor);
      d->FieldByName("HistoricoLancamento").SetAsString(l.Historico);
      d->Post();
    }
  }
  d->First();
  const char* tce = "Dados Lançamento TCE";
  const char* ctb = "Dados Lançamento Contábil";
  Campo(*d, "Enviar", "Enviar", "");
  Campo(*d, "NumeroSlip", "Número do Slip", tce);
  Campo(*d, "NumeroSequencial", "Número Seqüencial", tce);
  Campo(*d, "TipoLancamento", "Tipo do Lançamento", tce, "Débito=2;Crédito=1");
  Campo(*d, "DescrTipoMovimentoContabil", "Tipo Movimento Contábil", tce);
  Campo(*d, "ContaTce", "Conta TCE", tce, "", "0");
  Campo(*d, "ClassifDescrContaContabil", "Classificação / Descrição Conta TCE", tce);
  Campo(*d, "ChaveLctoCtb", "Sequência Lançamento", ctb);
  Campo(*d, "DataLancamento", "Data Lançamento Contábil", ctb, "", "dd/mm/yyyy");
  Campo(*d, "ValorLancamento", "Valor Lançamento", ctb, "", "#,##0.00");
  Campo(*d, "HistoricoLancamento", "Histórico Lançamento", ctb);
  d->FieldByName("Enviar").ReadOnly = false;
  d->CampoMarca = "Enviar";
  return d;
}

std::unique_ptr<TClientDataSet> Contas() {
  auto d = std::make_unique<TClientDataSet>();
  d->AddFieldDef("Enviar", TFieldType::ftSmallint);
  d->AddFieldDef("TipoConta", TFieldType::ftInteger);
  d->AddFieldDef("ContaTce", TFieldType::ftFloat);
  d->AddFieldDef("ClassifNomeConta", TFieldType::ftString, 150);
  d->AddFieldDef("NumeroNivel", TFieldType::ftInteger);
  d->AddFieldDef("TipoNaturezaSaldo", TFieldType::ftInteger);
  d->AddFieldDef("ContaCtb", TFieldType::ftFloat);
  d->AddFieldDef("ClassifDescrContaCtb", TFieldType::ftString, 100);
  d->AddFieldDef("EstiloLinha", TFieldType::ftSmallint);
  d->CreateDataSet();
  struct TConta {
    int Tipo;
    double Tce;
    const char* Nome;
    int Nivel, Natureza;
    double Ctb;
    const char* Especifica;
  };
  const TConta contas[] = {{1, 111000000, "1.1.1 Caixa e Equivalentes de Caixa", 3, 1, 0, ""},
                           {2, 111110100, "1.1.1.1.1.01.00 Caixa", 7, 1, 10, "1.1.1.01 Caixa Geral"},
                           {2, 111110600, "1.1.1.1.1.06.00 Bancos Conta Movimento", 7, 1, 12, "1.1.1.02 Banco do Brasil"},
                           {1, 213000000, "2.1.3 Fornecedores e Contas a Pagar", 3, 2, 0, ""},
                           {2, 213110100, "2.1.3.1.1.01.00 Fornecedores Nacionais", 7, 2, 210, "2.1.1.01 Fornecedores"},
                           {1, 332000000, "3.3.2 Uso de Material de Consumo", 3, 1, 0, ""},
                           {2, 332110100, "3.3.2.1.1.01.00 Material de Consumo", 7, 1, 3320, "3.1.2.01 Material de Expediente"}};
  for (const TConta& c : contas) {
    d->Append();
    d->FieldByName("Enviar").SetAsInteger(1);
    d->FieldByName("TipoConta").SetAsInteger(c.Tipo);
    d->FieldByName("ContaTce").SetAsFloat(c.Tce);
    d->FieldByName("ClassifNomeConta").SetAsString(c.Nome);
    d->FieldByName("NumeroNivel").SetAsInteger(c.Nivel);
    d->FieldByName("TipoNaturezaSaldo").SetAsInteger(c.Natureza);
    if (c.Ctb > 0) d->FieldByName("ContaCtb").SetAsFloat(c.Ctb);
    d->FieldByName("ClassifDescrContaCtb").SetAsString(c.Especifica);
    d->FieldByName("EstiloLinha").SetAsInteger(c.Tipo == 1 ? 1 : 0);
    d->Post();
  }
  d->First();
  const char* tce = "Plano de Contas do TCE";
  const char* espec = "Plano Específico";
  Campo(*d, "Enviar", "Enviar", "");
  Campo(*d, "TipoConta", "S/A", tce, "A=2;S=1");
  Campo(*d, "ContaTce", "Conta TCE", tce, "", "0");
  Campo(*d, "ClassifNomeConta", "Classificação / Descrição Conta TCE", tce);
  Campo(*d, "NumeroNivel", "Nível Conta TCE", tce);
  Campo(*d, "TipoNaturezaSaldo", "Tipo Natureza Saldo", tce, "Devedor=1;Credor=2;Misto=3");
  Campo(*d, "ContaCtb", "Conta Contábil", espec, "", "0");
  Campo(*d, "ClassifDescrContaCtb", "Classificação / Descrição Conta Contábil", espec);
  d->FieldByName("EstiloLinha").Visible = false;
  d->FieldByName("Enviar").ReadOnly = false;
  d->CampoMarca = "Enviar";
  d->CampoEstilo = "EstiloLinha";
  d->EstiloDestaque = "negrito-verde";
  return d;
}

}  // namespace

std::vector<std::filesystem::path> CapturarTelasVisao(const std::filesystem::path& aPasta) {
  std::filesystem::create_directories(aPasta);
  std::vector<std::filesystem::path> arquivos;
  auto salvar = [&](QWidget& tela, const char* nome) {
    QApplication::processEvents();
    std::filesystem::path p = aPasta / nome;
    if (!tela.grab().save(QString::fromStdString(p.string()), "PNG"))
      throw EFileError("Não foi possível gravar a imagem " + p.string());
    arquivos.push_back(p);
  };

  TnGerentecxGrid gerente("TCapturaVisao");
  auto lctos = Lancamentos();
  TnViewcxGrid& viewLctos = gerente.CriarTabSheetBanded("Lançamento Contábil", *lctos);
  viewLctos.ConfigurarGridFields(true, false);
  viewLctos.ViewGetColumnByFieldName("NumeroSlip")->Visible = false;
  viewLctos.ViewGetColumnByFieldName("NumeroSlip")->GroupIndex = 0;
  viewLctos.ViewGetColumnByFieldName("DataLancamento")->GroupIndex = 1;
  viewLctos.ExpandirTodos();
  {
    TVisaoGradeBandas visao(viewLctos);
    visao.resize(1500, 620);
    visao.show();
    salvar(visao, "visao-lancamentos.png");
  }

  auto contas = Contas();
  TnViewcxGrid& viewContas = gerente.CriarTabSheetBanded("Conta Contábil", *contas);
  viewContas.ConfigurarGridFields(true, false);
  {
    TVisaoGradeBandas visao(viewContas);
    visao.resize(1300, 330);
    visao.show();
    salvar(visao, "visao-contas.png");
  }

  // A refusal as the user meets it: the grid keeps the value and says why.
  lctos->FieldByName("HistoricoLancamento").ReadOnly = false;
  lctos->FieldByName("HistoricoLancamento").OnValidate = [](TField&, const std::string&) {
    throw Exception("O histórico de um lançamento já enviado não pode ser alterado.");
  };
  {
    TVisaoGradeBandas visao(viewLctos);
    visao.resize(1500, 420);
    visao.show();
    visao.RecolherTodos();
    visao.Arvore()->expand(visao.Arvore()->model()->index(0, 0));
    QModelIndex data = visao.Arvore()->model()->index(0, 0, visao.Arvore()->model()->index(0, 0));
    visao.Arvore()->expand(data);
    const int coluna = visao.Modelo().ColunaDoCampo("HistoricoLancamento");
    QModelIndex celula = visao.Arvore()->model()->index(0, coluna, data);
    visao.Arvore()->setCurrentIndex(celula);
    visao.Arvore()->model()->setData(celula, QStringLiteral("Outro histórico"));
    visao.Arvore()->scrollToTop();
    visao.Arvore()->horizontalScrollBar()->setValue(0);
    salvar(visao, "visao-recusa.png");
  }
  return arquivos;
}

}  // namespace nDesktop
