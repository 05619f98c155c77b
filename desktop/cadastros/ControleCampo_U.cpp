#include "ControleCampo_U.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QToolButton>

#include "DateUtils_U.h"
#include "Exceptions_U.h"
#include "GradeDados_U.h"
#include "TextUtils_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const QDate kDataVazia(1900, 1, 1);

}  // namespace

TEditorData::TEditorData(QWidget* aPai) : QDateEdit(aPai) {
  setCalendarPopup(true);
  setDisplayFormat("dd/MM/yyyy");
  setMinimumDate(kDataVazia);
  setSpecialValueText(" ");
  setDate(kDataVazia);
  calendarWidget()->installEventFilter(this);
}

bool TEditorData::Vazia() const { return date() == kDataVazia; }

void TEditorData::Limpar() { setDate(kDataVazia); }

bool TEditorData::eventFilter(QObject* aObjeto, QEvent* aEvento) {
  if (aObjeto == calendarWidget() && aEvento->type() == QEvent::Show && Vazia()) {
    QDate hoje = QDate::currentDate();
    calendarWidget()->setCurrentPage(hoje.year(), hoje.month());
  }
  return QDateEdit::eventFilter(aObjeto, aEvento);
}

QWidget* TControleCampo::Foco() const {
  if (Linha) return Linha;
  if (Combo) return Combo;
  if (Data) return Data;
  return Caixa;
}

QWidget* TControleCampo::CriarEditor(QWidget* aPai, const TnEntradaDicionario* aEntrada) {
  const TnControle controle = aEntrada ? aEntrada->Controle : TnControle::Texto;
  const TFieldType tipo = Campo->DataType();
  QWidget* editor = nullptr;
  const QString nome = Q(Def->Nome);
  if (!Def->Lista.empty()) {
    Tipo = Lista;
    Combo = new QComboBox(aPai);
    Combo->addItem(QString(), QString());
    for (const auto& [titulo, valor] : ItensLista(Def->Lista)) Combo->addItem(Q(titulo), Q(valor));
    // As wide as its longest caption, not the form's width.
    Combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    Combo->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    Combo->setMinimumWidth(200);
    editor = Combo;
  } else if (!ClasseLookup.empty()) {
    Tipo = Vinculo;
    auto* caixa = new QWidget(aPai);
    auto* linha = new QHBoxLayout(caixa);
    linha->setContentsMargins(0, 0, 0, 0);
    linha->setSpacing(6);
    Linha = new QLineEdit(caixa);
    Linha->setMaximumWidth(140);
    Linha->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9.]*"), Linha));
    if (IsTextType(tipo)) Linha->setValidator(nullptr);
    Botao = new QToolButton(caixa);
    Botao->setObjectName(nome + "_Pesquisar");
    Botao->setText("...");
    Botao->setToolTip("Pesquisar");
    Descricao = new QLabel(caixa);
    Descricao->setObjectName(nome + "_Descricao");
    Descricao->setWordWrap(true);
    Descricao->setMinimumWidth(260);
    Descricao->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Minimum);
    linha->addWidget(Linha);
    linha->addWidget(Botao);
    linha->addWidget(Descricao, 1);
    editor = caixa;
  } else if (tipo == TFieldType::ftDate || tipo == TFieldType::ftDateTime || controle == TnControle::Data) {
    Tipo = Datas;
    Data = new TEditorData(aPai);
    Data->setMinimumWidth(130);
    Data->setMaximumWidth(160);
    editor = Data;
  } else if (tipo == TFieldType::ftBoolean || controle == TnControle::Selecionado) {
    Tipo = Marca;
    Caixa = new QCheckBox(aPai);
    editor = Caixa;
  } else {
    Linha = new QLineEdit(aPai);
    if (IsIntegerType(tipo)) {
      Tipo = Inteiro;
      Linha->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9.]*"), Linha));
      Linha->setMaximumWidth(160);
    } else if (tipo == TFieldType::ftFloat || tipo == TFieldType::ftCurrency) {
      Tipo = Numero;
      Linha->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9.,]*"), Linha));
      Linha->setMaximumWidth(200);
    } else {
      Tipo = Texto;
      if (Campo->Size() > 0) Linha->setMaxLength(Campo->Size());
      // Short codes get a short box; descriptions the form's width.
      if (Campo->Size() > 0 && Campo->Size() <= 10)
        Linha->setMaximumWidth(aPai->fontMetrics().horizontalAdvance(QString(Campo->Size() + 2, QChar('M'))) + 16);
    }
    editor = Linha;
  }
  if (QWidget* foco = Foco()) {
    foco->setObjectName(nome);
    if (!Def->Hint.empty()) foco->setToolTip(Q(Def->Hint));
  }
  return editor;
}

void TControleCampo::Mostrar() {
  const TField& f = *Campo;
  switch (Tipo) {
    case Lista: {
      int i = f.IsNull() ? 0 : Combo->findData(Q(Trim(f.AsString())));
      if (i < 0) {
        // A stored value the list lacks is shown as it is rather than hidden.
        Combo->addItem(Q(f.AsString()), Q(Trim(f.AsString())));
        i = Combo->count() - 1;
      }
      Combo->setCurrentIndex(i);
      break;
    }
    case Datas: {
      if (f.IsNull()) {
        Data->Limpar();
        break;
      }
      int ano, mes, dia;
      DecodeDate(f.AsDateTime(), ano, mes, dia);
      Data->setDate(QDate(ano, mes, dia));
      break;
    }
    case Marca: Caixa->setChecked(!f.IsNull() && (f.DataType() == TFieldType::ftBoolean ? f.AsBoolean() : Trim(f.AsString()) == "1")); break;
    default: Linha->setText(Q(TGradeDados(Campo->DataSet()).Texto(f)));
  }
}

std::string TControleCampo::Ler() {
  TField& f = *Campo;
  try {
    switch (Tipo) {
      case Lista: {
        std::string valor = Combo->currentData().toString().toStdString();
        if (valor.empty()) f.Clear();
        else f.SetAsString(valor);
        return {};
      }
      case Datas:
        if (Data->Vazia()) f.Clear();
        else f.SetAsDateTime(EncodeDate(Data->date().year(), Data->date().month(), Data->date().day()));
        return {};
      case Marca:
        if (f.DataType() == TFieldType::ftBoolean) f.SetAsBoolean(Caixa->isChecked());
        else f.SetAsString(Caixa->isChecked() ? "1" : "0");
        return {};
      default: break;
    }
    std::string texto = Trim(Linha->text().toStdString());
    if (texto.empty()) {
      f.Clear();
      return {};
    }
    if (IsTextType(f.DataType())) {
      f.SetAsString(Linha->text().toStdString());
      return {};
    }
    std::string numero = NumeroDaGrade(texto);
    if (IsIntegerType(f.DataType()) && numero.find('.') != std::string::npos)
      return "\"" + texto + "\" não é um número inteiro.";
    f.SetAsString(numero);
    return {};
  } catch (const EConvertError& e) {
    return e.what();
  }
}

}  // namespace nDesktop
