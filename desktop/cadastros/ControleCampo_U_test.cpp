// A field's control: which control a field gets, and what a typed text becomes in the field.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QWidget>
#include <QtTest>

#include "ClientDataSet_U.h"
#include "ControleCampo_U.h"
#include "DMClientDataSet_U.h"
#include "DateUtils_U.h"

using namespace nFramework;
using nDesktop::TControleCampo;

class TTesteControleCampo : public QObject {
  Q_OBJECT
  TClientDataSet FDados;
  std::vector<TnCampoDef> FDefs;
  QWidget FPai;

  // A control over the row in edit.
  std::unique_ptr<TControleCampo> Controle(const char* aCampo, const TnEntradaDicionario* aEntrada = nullptr) {
    auto c = std::make_unique<TControleCampo>();
    for (const auto& d : FDefs)
      if (d.Nome == aCampo) c->Def = &d;
    c->Campo = &FDados.FieldByName(aCampo);
    c->CriarEditor(&FPai, aEntrada);
    c->Mostrar();
    return c;
  }
  static std::string Digitado(TControleCampo& c, const QString& aTexto) {
    c.Linha->setText(aTexto);
    return c.Ler();
  }

 private slots:
  void init() {
    FDados.Close();
    FDados.FieldDefs().clear();
    FDados.AddFieldDef("CODIGO", TFieldType::ftSmallint);
    FDados.AddFieldDef("VALOR", TFieldType::ftFloat);
    FDados.AddFieldDef("NOME", TFieldType::ftString, 5);
    FDados.AddFieldDef("TIPO", TFieldType::ftString, 1);
    FDados.AddFieldDef("DATA", TFieldType::ftDate);
    FDados.AddFieldDef("ATIVO", TFieldType::ftString, 1);
    FDados.CreateDataSet();
    FDefs = {{.Nome = "CODIGO"}, {.Nome = "VALOR"},         {.Nome = "NOME"},
             {.Nome = "TIPO", .Lista = "Nenhum=N;Financeiro=F"}, {.Nome = "DATA"}, {.Nome = "ATIVO"}};
    FDados.Append();
  }

  void numerosComoATelaEscreveEInteirosSemFracao() {
    auto codigo = Controle("CODIGO");
    QCOMPARE(codigo->Tipo, TControleCampo::Inteiro);
    QCOMPARE(Digitado(*codigo, "1.234"), std::string());
    QCOMPARE(FDados.FieldByName("CODIGO").AsInteger(), 1234);
    // A refused text leaves the field as it was and says why.
    QCOMPARE(Digitado(*codigo, "12,5"), std::string("\"12,5\" não é um número inteiro."));
    QVERIFY(!Digitado(*codigo, "2.5").empty());
    QCOMPARE(FDados.FieldByName("CODIGO").AsInteger(), 1234);
    QCOMPARE(Digitado(*codigo, " "), std::string());
    QVERIFY(FDados.FieldByName("CODIGO").IsNull());

    auto valor = Controle("VALOR");
    QCOMPARE(valor->Tipo, TControleCampo::Numero);
    QCOMPARE(Digitado(*valor, "1.234,5"), std::string());
    QCOMPARE(FDados.FieldByName("VALOR").AsFloat(), 1234.5);
    valor->Mostrar();
    QCOMPARE(valor->Linha->text(), QString("1234,5"));
  }

  void listaPorLegendaEValorForaDaListaMostrado() {
    auto tipo = Controle("TIPO");
    QCOMPARE(tipo->Tipo, TControleCampo::Lista);
    QCOMPARE(tipo->Combo->itemText(0), QString());  // no value yet
    tipo->Combo->setCurrentIndex(tipo->Combo->findText("Financeiro"));
    QCOMPARE(tipo->Ler(), std::string());
    QCOMPARE(FDados.FieldByName("TIPO").AsString(), std::string("F"));
    // A stored value the list lacks is shown, not turned into the empty item.
    FDados.FieldByName("TIPO").SetAsString("Z");
    tipo->Mostrar();
    QCOMPARE(tipo->Combo->currentData().toString(), QString("Z"));
  }

  void dataVaziaEMarcaPeloDicionario() {
    auto data = Controle("DATA");
    QCOMPARE(data->Tipo, TControleCampo::Datas);
    QVERIFY(data->Data->Vazia());
    data->Data->setDate(QDate(2024, 2, 29));
    QCOMPARE(data->Ler(), std::string());
    QCOMPARE(FDados.FieldByName("DATA").AsDateTime(), EncodeDate(2024, 2, 29));
    data->Data->Limpar();
    QCOMPARE(data->Ler(), std::string());
    QVERIFY(FDados.FieldByName("DATA").IsNull());

    TnEntradaDicionario marca;
    marca.Controle = TnControle::Selecionado;
    auto ativo = Controle("ATIVO", &marca);
    QCOMPARE(ativo->Tipo, TControleCampo::Marca);
    ativo->Caixa->setChecked(true);
    QCOMPARE(ativo->Ler(), std::string());
    QCOMPARE(FDados.FieldByName("ATIVO").AsString(), std::string("1"));
    // A short text gets a box its size allows.
    auto nome = Controle("NOME");
    QCOMPARE(nome->Linha->maxLength(), 5);
  }
};

QTEST_MAIN(TTesteControleCampo)
#include "ControleCampo_U_test.moc"
