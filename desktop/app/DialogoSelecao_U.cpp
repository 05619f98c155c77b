#include "DialogoSelecao_U.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <sstream>

#include "Contexto_U.h"
#include "FormatUtils_U.h"
#include "Inicio_U.h"
#include "SQL_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace nDesktop {

namespace {

QString Codigo(int aCodigo) { return QString::fromStdString(FormatFloat("0000", static_cast<double>(aCodigo))); }

int Selecionado(const char* aVariavel) { return StrToIntDef(ExternalVar(aVariavel), 0); }

void Escolher(QComboBox* aCombo, int aCodigo) {
  int i = aCombo->findData(aCodigo);
  if (i >= 0) aCombo->setCurrentIndex(i);
}

}  // namespace

TDialogoSelecao::TDialogoSelecao(QWidget* aPai, const QString& aMotivo) : QDialog(aPai) {
  setObjectName(QStringLiteral("TDialogoSelecao"));
  setWindowTitle(QStringLiteral("Selecionar Sistema TCE"));
  auto* layout = new QVBoxLayout(this);
  layout->setSpacing(12);
  if (!aMotivo.isEmpty()) {
    auto* motivo = new QLabel(aMotivo);
    motivo->setObjectName(QStringLiteral("motivo"));
    motivo->setWordWrap(true);
    layout->addWidget(motivo);
  }
  auto* form = new QFormLayout;
  form->setHorizontalSpacing(10);
  form->setVerticalSpacing(8);
  FEmpresa = new QComboBox;
  FEmpresa->setObjectName(QStringLiteral("empresa"));
  FEmpresa->setMinimumContentsLength(36);
  FSistema = new QComboBox;
  FSistema->setObjectName(QStringLiteral("sistema"));
  FSistema->setMinimumContentsLength(36);
  form->addRow(QStringLiteral("&Empresa:"), FEmpresa);
  form->addRow(QStringLiteral("&Sistema TCE:"), FSistema);
  FVinculo = new QLabel;
  FVinculo->setObjectName(QStringLiteral("vinculo"));
  FVinculo->setWordWrap(true);
  FVinculo->setStyleSheet(QStringLiteral("color: palette(mid);"));
  form->addRow(QString(), FVinculo);
  layout->addLayout(form);

  auto empresas = ExecutarSQL("select CODIGOEMPRESA, NOMEEMPRESA from EMPRESA order by CODIGOEMPRESA");
  for (empresas->First(); !empresas->Eof(); empresas->Next()) {
    int c = empresas->Fields(0).AsInteger();
    FEmpresa->addItem(Codigo(c) + QStringLiteral(" - ") + QString::fromStdString(empresas->Fields(1).AsString()), c);
  }
  auto sistemas =
      ExecutarSQL("select CODIGOSISTEMATCE, DESCRSISTEMATCE from TCESISTEMA order by CODIGOSISTEMATCE");
  for (sistemas->First(); !sistemas->Eof(); sistemas->Next()) {
    int c = sistemas->Fields(0).AsInteger();
    FSistema->addItem(Codigo(c) + QStringLiteral(" ") + QString::fromStdString(sistemas->Fields(1).AsString()), c);
  }

  auto* botoes = new QDialogButtonBox;
  auto* ok = botoes->addButton(QStringLiteral("Selecionar"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  ok->setEnabled(FEmpresa->count() > 0 && FSistema->count() > 0);
  botoes->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
  layout->addWidget(botoes);
  connect(botoes, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(botoes, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(FEmpresa, &QComboBox::currentIndexChanged, this, &TDialogoSelecao::EmpresaEscolhida);
  connect(FSistema, &QComboBox::currentIndexChanged, this, [this] { FVinculo->clear(); });

  // The current selection first; a company alone brings its court system.
  if (int e = Selecionado("gCodigoEmpresaAtiva")) Escolher(FEmpresa, e);
  EmpresaEscolhida();
  if (int s = Selecionado("gCodigoSistemaTCEAtiva")) Escolher(FSistema, s);
  FVinculo->clear();
  setMinimumWidth(520);
}

int TDialogoSelecao::Empresa() const { return FEmpresa->currentIndex() < 0 ? 0 : FEmpresa->currentData().toInt(); }

int TDialogoSelecao::Sistema() const { return FSistema->currentIndex() < 0 ? 0 : FSistema->currentData().toInt(); }

void TDialogoSelecao::SetEmpresa(int aCodigo) { Escolher(FEmpresa, aCodigo); }

void TDialogoSelecao::SetSistema(int aCodigo) { Escolher(FSistema, aCodigo); }

void TDialogoSelecao::EmpresaEscolhida() {
  if (Empresa() == 0) return;
  TVariant s = PegarValorCampo("TCESISTEMAEMPRESA", "CODIGOSISTEMATCE", "CODIGOEMPRESA = " + std::to_string(Empresa()));
  if (s.IsNull()) {
    FVinculo->setText(QStringLiteral("Esta empresa não está vinculada a um sistema TCE."));
    return;
  }
  Escolher(FSistema, StrToIntDef(VarToStr(s), 0));
  FVinculo->setText(QStringLiteral("Sistema TCE vinculado à empresa."));
}

void TDialogoSelecao::Aplicar() const {
  std::ostringstream avisos;  // the codes come from the lists: always valid
  SelecionarSistemaEmpresa(Sistema() ? std::to_string(Sistema()) : std::string(),
                           Empresa() ? std::to_string(Empresa()) : std::string(), avisos);
}

}  // namespace nDesktop
