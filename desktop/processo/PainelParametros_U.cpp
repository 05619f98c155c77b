#include "PainelParametros_U.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QStyle>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWidgetAction>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "DMClientDataSet_U.h"
#include "SQL_U.h"
#include "Projeto_U.h"
#include "TelaCadastro_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

const char* const PaginaPadrao = "Parâmetros";

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string CampoLookup(const TnParamItem& aItem) {
  if (!aItem.Def().CampoLookup.empty()) return aItem.Def().CampoLookup;
  const TnEntradaDicionario* e = aItem.EntradaDicionario();
  return e ? e->CampoLookup : std::string();
}

bool EhLookup(const TnParamItem& aItem) {
  TnControle c = aItem.Controle();
  return !aItem.ClasseLookup().empty() && c != TnControle::Combo && c != TnControle::Selecionado;
}

// Several values of a multi-value lookup are written "1;2;3"; commas are read too.
std::vector<std::string> Valores(const std::string& aTexto) {
  std::vector<std::string> r;
  size_t inicio = 0;
  while (inicio <= aTexto.size()) {
    size_t fim = aTexto.find_first_of(",;", inicio);
    if (fim == std::string::npos) fim = aTexto.size();
    std::string v = Trim(aTexto.substr(inicio, fim - inicio));
    if (!v.empty()) r.push_back(v);
    inicio = fim + 1;
  }
  return r;
}

// A masked date with nothing typed reads as its separators alone: the item is empty then.
std::string TextoDaMascara(const QLineEdit* aEdit) {
  QString t = aEdit->text();
  for (QChar c : t)
    if (c.isDigit()) return t.trimmed().toStdString();
  return {};
}

// The company the panel's other lookups belong to: its company item's value, when a number.
// Empty for the company item itself and for a panel without one.
std::string EmpresaDoPainel(const TnPowerParamPanel& aPainel, const TnParamItem& aItem) {
  const TnParamItem* empresa = aPainel.FindParam("pCodigoEmpresa");
  if (!empresa || empresa == &aItem) return {};
  int64_t n;
  return TryStrToInt64(Trim(empresa->Value()), n) ? std::to_string(n) : std::string();
}

// The lookup's description of a value ("NomeEmpresa" of company 1), read through the lookup
// class itself; empty when the value finds no row or the lookup shows none. A lookup whose rows
// belong to companies (establishments, CFOPs) reads the row of aEmpresa when one is given.
std::string DescricaoDoValor(const TnParamItem& aItem, const std::string& aEmpresa) {
  const TnEntradaDicionario* e = aItem.EntradaDicionario();
  std::string valor = Trim(aItem.Value());
  std::string campo = CampoLookup(aItem);
  if (!e || e->CampoExibido.empty() || valor.empty() || campo.empty()) return {};
  TVariant literal(valor);
  TFieldType tipo = TFieldType::ftString;
  if (aItem.Controle() == TnControle::Inteiro || aItem.Controle() == TnControle::Numerico) {
    int64_t n;
    if (!TryStrToInt64(valor, n)) return {};
    literal = TVariant(static_cast<long long>(n));
    tipo = TFieldType::ftLargeint;
  }
  try {
    TnDMPtr<TnDMClientDataSet> consulta = nComoClasse<TnDMClientDataSet>(nCriarInstancia(aItem.ClasseLookup()));
    if (!consulta) return {};
    consulta->FetchRegistros(campo + " = " + ValorParaSQL(literal, tipo));
    TClientDataSet& ds = consulta->nClientDataSet();
    TField* f = ds.FindField(e->CampoExibido);
    if (!f || ds.IsEmpty()) return {};
    TField* daEmpresa = aEmpresa.empty() ? nullptr : ds.FindField("CODIGOEMPRESA");
    for (ds.First(); !ds.Eof(); ds.Next())
      if (!daEmpresa || daEmpresa->AsString() == aEmpresa) return f->AsString();
    return {};
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception&) {
    // A lookup that cannot say (not registered, a value its select refuses) shows nothing.
    return {};
  }
}

// The pick dialog of a lookup whose rows belong to companies lists the panel's company's rows.
std::string CondicaoDaEmpresa(const std::string& aClasse, const std::string& aEmpresa) {
  if (aEmpresa.empty()) return {};
  TnDMPtr<TnDMClientDataSet> consulta = nComoClasse<TnDMClientDataSet>(nCriarInstancia(aClasse));
  if (!consulta) return {};
  consulta->FetchRegistros("1 = 0");
  return consulta->nClientDataSet().FindField("CODIGOEMPRESA") ? "CODIGOEMPRESA = " + aEmpresa : std::string();
}

// A masked date takes what is typed from its first digit while nothing is typed yet: the
// mask's cursor would otherwise sit where the click or the last text left it, and digits
// typed at its end go nowhere.
class TEditMascara : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;

 protected:
  void mousePressEvent(QMouseEvent* aEvento) override {
    QLineEdit::mousePressEvent(aEvento);
    AoInicioSeVazio();
  }
  void focusInEvent(QFocusEvent* aEvento) override {
    QLineEdit::focusInEvent(aEvento);
    AoInicioSeVazio();
  }
  void keyPressEvent(QKeyEvent* aEvento) override {
    AoInicioSeVazio();
    QLineEdit::keyPressEvent(aEvento);
  }

 private:
  void AoInicioSeVazio() {
    if (TextoDaMascara(this).empty() && cursorPosition() != 0) setCursorPosition(0);
  }
};

int LarguraDoTexto(const QWidget* aWidget, const QString& aModelo) {
  return aWidget->fontMetrics().horizontalAdvance(aModelo) + 24;
}

}  // namespace

TPainelParametros::TPainelParametros(TnPowerParamPanel& aPainel, QWidget* aPai) : QWidget(aPai), FPainel(aPainel) {
  setObjectName("painelParametros");
  // Building the controls changes their texts (an input mask does): nothing goes to the items yet.
  FCarregando = true;
  FPaginas = new QTabWidget(this);
  FPaginas->setObjectName("tabPaginas");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FPaginas);

  std::vector<std::string> nomesPaginas;
  std::vector<QFormLayout*> formularios;
  auto pagina = [&](const std::string& aNome) {
    std::string nome = aNome.empty() ? PaginaPadrao : aNome;
    for (size_t i = 0; i < nomesPaginas.size(); ++i)
      if (SameText(nomesPaginas[i], nome)) return static_cast<int>(i);
    auto* area = new QScrollArea(FPaginas);
    area->setWidgetResizable(true);
    area->setFrameShape(QFrame::NoFrame);
    auto* conteudo = new QWidget(area);
    auto* form = new QFormLayout(conteudo);
    form->setContentsMargins(16, 14, 16, 14);
    form->setHorizontalSpacing(14);
    form->setVerticalSpacing(8);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
    form->setRowWrapPolicy(QFormLayout::DontWrapRows);
    area->setWidget(conteudo);
    FPaginas->addTab(area, Q(nome));
    nomesPaginas.push_back(nome);
    formularios.push_back(form);
    return static_cast<int>(nomesPaginas.size() - 1);
  };

  // The rows keep pointers into the vector: it must not grow once they are made.
  FLinhas.reserve(FPainel.Itens().size());
  for (const auto& item : FPainel.Itens()) {
    if (!item->Def().Visivel) continue;
    int p = pagina(item->Def().Pagina);
    QFormLayout* form = formularios[static_cast<size_t>(p)];
    QWidget* dono = form->parentWidget();
    if (!item->Def().Separador.empty()) {
      auto* sep = new QWidget(dono);
      auto* h = new QHBoxLayout(sep);
      h->setContentsMargins(0, form->rowCount() ? 10 : 0, 0, 2);
      auto* titulo = new QLabel(Q(item->Def().Separador), sep);
      QFont f = titulo->font();
      f.setBold(true);
      titulo->setFont(f);
      auto* linha = new QFrame(sep);
      linha->setFrameShape(QFrame::HLine);
      linha->setFrameShadow(QFrame::Sunken);
      h->addWidget(titulo);
      h->addWidget(linha, 1);
      form->addRow(sep);
    }
    FLinhas.push_back(TLinha{item.get(), nullptr, nullptr, nullptr, nullptr, nullptr, p});
    TLinha& l = FLinhas.back();
    auto* campo = new QWidget(dono);
    auto* v = new QVBoxLayout(campo);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(2);
    QWidget* controle = CriarControle(l);
    controle->setParent(campo);
    v->addWidget(controle);
    l.Erro = new QLabel(campo);
    l.Erro->setObjectName(Q("erro_" + item->Alias()));
    l.Erro->setWordWrap(true);
    l.Erro->setStyleSheet("color: #b01c1c;");
    l.Erro->hide();
    v->addWidget(l.Erro);
    l.Rotulo = new QLabel(dono);
    l.Rotulo->setObjectName(Q("rotulo_" + item->Alias()));
    l.Rotulo->setTextFormat(Qt::RichText);
    l.Rotulo->setBuddy(l.Controle);
    QString dica = Q(item->Def().Hint);
    if (dica.isEmpty())
      if (const TnEntradaDicionario* e = item->EntradaDicionario()) dica = Q(e->Hint);
    l.Rotulo->setToolTip(dica);
    l.Controle->setToolTip(dica);
    form->addRow(l.Rotulo, campo);
  }
  Recarregar();
}

QWidget* TPainelParametros::CriarControle(TLinha& aLinha) {
  TnParamItem& item = *aLinha.Item;
  TLinha* l = &aLinha;
  auto linhaComBotao = [&](QLineEdit* aEdit, QToolButton* aBotao, bool aEstica) {
    auto* caixa = new QWidget;
    auto* h = new QHBoxLayout(caixa);
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(4);
    h->addWidget(aEdit, aEstica ? 1 : 0);
    h->addWidget(aBotao);
    if (!aEstica) h->addStretch(1);
    aBotao->setObjectName(Q("botao_" + item.Alias()));
    aLinha.Botao = aBotao;
    return caixa;
  };
  auto novoEdit = [&](bool aMascara = false) {
    QLineEdit* e = aMascara ? new TEditMascara : new QLineEdit;
    e->setObjectName(Q("edit_" + item.Alias()));
    connect(e, &QLineEdit::textChanged, this, [this, l, e] {
      if (!FCarregando) Definir(*l, e->inputMask().isEmpty() ? e->text().toStdString() : TextoDaMascara(e));
    });
    aLinha.Controle = e;
    return e;
  };

  if (EhLookup(item)) {
    QLineEdit* e = novoEdit();
    e->setMinimumWidth(LarguraDoTexto(e, item.Def().MultiplosValores ? "0000; 0000; 0000; 0000" : "00000000"));
    auto* b = new QToolButton;
    b->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
    b->setToolTip(item.Def().MultiplosValores ? "Pesquisar (vários valores, separados por ;)" : "Pesquisar");
    connect(b, &QToolButton::clicked, this, [this, l] { Pesquisar(*l); });
    QWidget* caixa = linhaComBotao(e, b, item.Def().MultiplosValores);
    const TnEntradaDicionario* d = item.EntradaDicionario();
    if (!item.Def().MultiplosValores && d && !d->CampoExibido.empty()) {
      aLinha.Descricao = new QLabel(caixa);
      aLinha.Descricao->setObjectName(Q("descricao_" + item.Alias()));
      aLinha.Descricao->setTextInteractionFlags(Qt::TextSelectableByMouse);
      auto* h = static_cast<QHBoxLayout*>(caixa->layout());
      h->insertWidget(2, aLinha.Descricao, 1);
    }
    return caixa;
  }
  switch (item.Controle()) {
    case TnControle::Data:
    case TnControle::DataMesAno: {
      bool mesAno = item.Controle() == TnControle::DataMesAno;
      QLineEdit* e = novoEdit(true);
      e->setInputMask(mesAno ? "99/9999;_" : "99/99/9999;_");
      e->setFixedWidth(LarguraDoTexto(e, mesAno ? "00/00000" : "00/00/00000"));
      e->setPlaceholderText(mesAno ? "mm/aaaa" : "dd/mm/aaaa");
      auto* b = new QToolButton;
      b->setArrowType(Qt::DownArrow);
      b->setToolTip("Escolher no calendário");
      b->setPopupMode(QToolButton::InstantPopup);
      auto* menu = new QMenu(b);
      auto* calendario = new QCalendarWidget(menu);
      calendario->setGridVisible(true);
      auto* acao = new QWidgetAction(menu);
      acao->setDefaultWidget(calendario);
      menu->addAction(acao);
      b->setMenu(menu);
      connect(menu, &QMenu::aboutToShow, this, [e, calendario, mesAno] {
        QDate d = QDate::fromString(mesAno ? "01/" + e->text() : e->text(), "dd/MM/yyyy");
        calendario->setSelectedDate(d.isValid() ? d : QDate::currentDate());
      });
      connect(calendario, &QCalendarWidget::clicked, this, [e, menu, mesAno](QDate d) {
        e->setText(d.toString(mesAno ? "MM/yyyy" : "dd/MM/yyyy"));
        menu->hide();
      });
      return linhaComBotao(e, b, false);
    }
    case TnControle::Diretorio: {
      QLineEdit* e = novoEdit();
      e->setMinimumWidth(LarguraDoTexto(e, "/home/usuario/Documentos/TCE/Arquivos"));
      auto* b = new QToolButton;
      b->setIcon(style()->standardIcon(QStyle::SP_DirOpenIcon));
      b->setToolTip("Escolher a pasta");
      connect(b, &QToolButton::clicked, this, [this, l] { EscolherPasta(*l); });
      return linhaComBotao(e, b, true);
    }
    case TnControle::Combo: {
      auto* c = new QComboBox;
      c->setObjectName(Q("combo_" + item.Alias()));
      c->setSizeAdjustPolicy(QComboBox::AdjustToContents);
      for (const auto& [caption, valor] : item.Escolhas()) c->addItem(Q(caption), Q(valor));
      connect(c, &QComboBox::currentIndexChanged, this, [this, l, c] {
        if (!FCarregando) Definir(*l, c->currentData().toString().toStdString());
      });
      aLinha.Controle = c;
      auto* caixa = new QWidget;
      auto* h = new QHBoxLayout(caixa);
      h->setContentsMargins(0, 0, 0, 0);
      h->addWidget(c);
      h->addStretch(1);
      return caixa;
    }
    case TnControle::Selecionado: {
      auto* c = new QCheckBox;
      c->setObjectName(Q("check_" + item.Alias()));
      connect(c, &QCheckBox::toggled, this, [this, l](bool marcado) {
        if (!FCarregando) Definir(*l, marcado ? "1" : "0");
      });
      aLinha.Controle = c;
      return c;
    }
    default: {
      QLineEdit* e = novoEdit();
      switch (item.Controle()) {
        case TnControle::Inteiro:
          e->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9]*"), e));
          e->setMaximumWidth(LarguraDoTexto(e, "0000000000"));
          break;
        case TnControle::Numerico:
          e->setValidator(new QRegularExpressionValidator(QRegularExpression("-?[0-9.]*([,][0-9]*)?"), e));
          e->setMaximumWidth(LarguraDoTexto(e, "000.000.000,00"));
          break;
        case TnControle::Senha: e->setEchoMode(QLineEdit::Password); break;
        default:
          if (const TnEntradaDicionario* d = item.EntradaDicionario(); d && d->Tamanho > 0) e->setMaxLength(d->Tamanho);
          break;
      }
      return e;
    }
  }
}

void TPainelParametros::Carregar(const TLinha& aLinha) {
  const std::string& valor = aLinha.Item->Value();
  if (auto* e = qobject_cast<QLineEdit*>(aLinha.Controle)) {
    e->setText(Q(valor));
  } else if (auto* c = qobject_cast<QComboBox*>(aLinha.Controle)) {
    int i = c->findData(Q(valor));
    if (i < 0 && valor.empty()) {
      // An item with no value yet: an empty entry until the user picks one.
      if (c->findData(QString()) < 0) c->insertItem(0, QString(), QString());
      i = c->findData(QString());
    } else if (i < 0) {
      // A stored value outside the list is kept and shown as it is.
      c->addItem(Q(valor), Q(valor));
      i = c->count() - 1;
    }
    c->setCurrentIndex(i);
  } else if (auto* k = qobject_cast<QCheckBox*>(aLinha.Controle)) {
    k->setChecked(Trim(valor) == "1");
  }
}

void TPainelParametros::AtualizarDescricao(const TLinha& aLinha) {
  if (aLinha.Descricao) aLinha.Descricao->setText(Q(DescricaoDoValor(*aLinha.Item, EmpresaDoPainel(FPainel, *aLinha.Item))));
}

void TPainelParametros::Recarregar() {
  FCarregando = true;
  for (const TLinha& l : FLinhas) {
    Carregar(l);
    AtualizarDescricao(l);
  }
  FCarregando = false;
  AplicarRegras();
}

void TPainelParametros::Definir(TLinha& aLinha, const std::string& aTexto) {
  aLinha.Item->SetValue(FPainel.NormalizarValor(*aLinha.Item, aTexto));
  aLinha.Erro->hide();
  // The company's establishment is another row of the same lookup: every description follows it.
  if (SameText(aLinha.Item->Alias(), "pCodigoEmpresa"))
    for (const TLinha& l : FLinhas) AtualizarDescricao(l);
  else
    AtualizarDescricao(aLinha);
  AplicarRegras();
  emit Alterado();
}

void TPainelParametros::AplicarRegras() {
  for (TLinha& l : FLinhas) {
    bool habilitado = l.Item->Habilitado();
    l.Controle->setEnabled(habilitado);
    if (l.Botao) l.Botao->setEnabled(habilitado);
    l.Rotulo->setEnabled(habilitado);
    QString texto = Q(l.Item->Caption()).toHtmlEscaped();
    if (l.Item->Obrigatorio()) texto += "<span style=\"color:#c62828;\">&nbsp;*</span>";
    if (l.Rotulo->text() != texto) l.Rotulo->setText(texto);
  }
}

void TPainelParametros::Pesquisar(TLinha& aLinha) {
  auto* edit = qobject_cast<QLineEdit*>(aLinha.Controle);
  if (!edit) return;
  const TnParamItem& item = *aLinha.Item;
  try {
    std::string condicao = CondicaoDaEmpresa(item.ClasseLookup(), EmpresaDoPainel(FPainel, item));
    if (item.Def().MultiplosValores) {
      auto escolhidos =
          EscolherVariosDoCadastro(this, item.ClasseLookup(), CampoLookup(item), Valores(item.Value()), condicao);
      if (!escolhidos) return;
      std::string texto;
      for (const auto& v : *escolhidos) texto += (texto.empty() ? "" : ";") + v;
      edit->setText(Q(texto));
    } else {
      auto escolhido = EscolherDoCadastro(this, item.ClasseLookup(), CampoLookup(item), Trim(item.Value()), condicao);
      if (escolhido) edit->setText(Q(*escolhido));
    }
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    QMessageBox::warning(this, Q(Application().Title), Q(e.Message()));
  }
  edit->setFocus();
}

void TPainelParametros::EscolherPasta(TLinha& aLinha) {
  auto* edit = qobject_cast<QLineEdit*>(aLinha.Controle);
  if (!edit) return;
  QString pasta = QFileDialog::getExistingDirectory(this, Q(aLinha.Item->Caption()), edit->text());
  if (!pasta.isEmpty()) edit->setText(pasta);
}

const TPainelParametros::TLinha* TPainelParametros::Linha(const std::string& aAlias) const {
  for (const TLinha& l : FLinhas)
    if (SameText(l.Item->Alias(), aAlias)) return &l;
  return nullptr;
}

bool TPainelParametros::MostrarErro(const std::string& aAlias, const std::string& aMensagem) {
  const TLinha* l = Linha(aAlias);
  if (!l) return false;
  FPaginas->setCurrentIndex(l->Pagina);
  l->Erro->setText(Q(aMensagem));
  l->Erro->show();
  l->Controle->setFocus(Qt::OtherFocusReason);
  if (auto* e = qobject_cast<QLineEdit*>(l->Controle)) e->selectAll();
  return true;
}

void TPainelParametros::LimparErros() {
  for (TLinha& l : FLinhas) l.Erro->hide();
}

QWidget* TPainelParametros::Controle(const std::string& aAlias) const {
  const TLinha* l = Linha(aAlias);
  return l ? l->Controle : nullptr;
}

QWidget* TPainelParametros::Botao(const std::string& aAlias) const {
  const TLinha* l = Linha(aAlias);
  return l ? l->Botao : nullptr;
}

QLabel* TPainelParametros::Rotulo(const std::string& aAlias) const {
  const TLinha* l = Linha(aAlias);
  return l ? l->Rotulo : nullptr;
}

QLabel* TPainelParametros::Descricao(const std::string& aAlias) const {
  const TLinha* l = Linha(aAlias);
  return l ? l->Descricao : nullptr;
}

QLabel* TPainelParametros::Erro(const std::string& aAlias) const {
  const TLinha* l = Linha(aAlias);
  return l ? l->Erro : nullptr;
}

}  // namespace nDesktop
