#include "FrmPowerParamcxGridCloseTab_U.h"

#include <cctype>
#include <map>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Exceptions_U.h"

namespace nFramework {

namespace {
// Saved user layouts, by form class (upper case).
std::map<std::string, std::vector<TnGerentecxGrid::TLayoutView>>& LayoutsSalvos() {
  static std::map<std::string, std::vector<TnGerentecxGrid::TLayoutView>> layouts;
  return layouts;
}

// The unaccented letter of a two-byte UTF-8 letter of Latin-1 (U+00C0..U+00FF); 0 otherwise.
char SemAcento(unsigned aCodigo) {
  static const char* const tabela =
      "AAAAAAACEEEEIIII"  // C0..CF
      "DNOOOOO\0OUUUUY\0s"  // D0..DF
      "aaaaaaaceeeeiiii"  // E0..EF
      "dnooooo\0ouuuuy\0y";  // F0..FF
  if (aCodigo < 0xC0 || aCodigo > 0xFF) return 0;
  return tabela[aCodigo - 0xC0];
}
}  // namespace

std::string ConvertCaptionEmNome(std::string_view aCaption, int aTamanho) {
  std::string nome;
  for (size_t i = 0; i < aCaption.size(); ++i) {
    auto c = static_cast<unsigned char>(aCaption[i]);
    if (c < 0x80) {
      if (std::isalnum(c)) nome += static_cast<char>(c);
    } else if ((c & 0xE0) == 0xC0 && i + 1 < aCaption.size()) {
      unsigned codigo = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(aCaption[i + 1]) & 0x3Fu);
      if (char l = SemAcento(codigo)) nome += l;
      ++i;
    }
    // Other multi-byte characters are dropped byte by byte: their bytes are all >= 0x80.
  }
  if (aTamanho > 0 && nome.size() > static_cast<size_t>(aTamanho)) nome.resize(static_cast<size_t>(aTamanho));
  return nome;
}

void TnViewcxGrid::ConfigurarGridFields(bool aVisivel, bool aAgrupar) {
  Columns.clear();
  if (!DataSet) return;
  for (int i = 0; i < DataSet->FieldCount(); ++i) {
    TnColunaGrid coluna;
    coluna.FieldName = DataSet->Fields(i).FieldName();
    coluna.Visible = aVisivel;
    coluna.AllowGroup = aAgrupar;
    Columns.push_back(std::move(coluna));
  }
}

TnColunaGrid* TnViewcxGrid::ViewGetColumnByFieldName(std::string_view aFieldName) {
  for (auto& coluna : Columns)
    if (SameText(coluna.FieldName, aFieldName)) return &coluna;
  return nullptr;
}

std::vector<std::string> TnViewcxGrid::ColunasAgrupadas() const {
  std::multimap<int, std::string> ordem;
  for (const auto& coluna : Columns)
    if (coluna.GroupIndex >= 0) ordem.emplace(coluna.GroupIndex, coluna.FieldName);
  std::vector<std::string> r;
  for (auto& [indice, nome] : ordem) r.push_back(nome);
  return r;
}

TnViewcxGrid* TnGerentecxGrid::FindView(std::string_view aName) const {
  TnViewcxGrid* achada = nullptr;
  for (const auto& view : FViews)
    if (SameText(view->Name, aName)) achada = view.get();
  return achada;
}

TnViewcxGrid& TnGerentecxGrid::CriarTabSheetBanded(const std::string& aCaption, TClientDataSet& aDataSet) {
  auto view = std::make_unique<TnViewcxGrid>();
  view->Name = ConvertCaptionEmNome(aCaption, 0);
  view->Caption = aCaption;
  view->DataSet = &aDataSet;
  view->Banded = true;
  FViews.push_back(std::move(view));
  return *FViews.back();
}

void TnGerentecxGrid::ConfigurarGridFields(bool aVisivel, bool aAgrupar) {
  if (FViews.empty()) throw EInternalError("Nenhuma visão criada para configurar os campos");
  FViews.back()->ConfigurarGridFields(aVisivel, aAgrupar);
}

TnViewcxGrid& TnGerentecxGrid::GetDetalhes(std::string_view aCaption) const {
  TnViewcxGrid* achada = nullptr;
  for (const auto& view : FViews)
    if (view->Caption == aCaption) achada = view.get();
  if (!achada) throw EInternalError("Aba não encontrada: " + std::string(aCaption));
  return *achada;
}

std::vector<TnGerentecxGrid::TLayoutView> TnGerentecxGrid::Capturar() const {
  std::vector<TLayoutView> layout;
  for (const auto& view : FViews) layout.push_back({view->Name, view->LevelVisible, view->Columns});
  return layout;
}

// Matches views by name and columns by field: what the layout does not know stays as it is.
void TnGerentecxGrid::Aplicar(const std::vector<TLayoutView>& aLayout) {
  for (const auto& salva : aLayout) {
    TnViewcxGrid* view = FindView(salva.Name);
    if (!view) continue;
    view->LevelVisible = salva.LevelVisible;
    for (const auto& colunaSalva : salva.Columns)
      if (TnColunaGrid* coluna = view->ViewGetColumnByFieldName(colunaSalva.FieldName)) *coluna = colunaSalva;
  }
}

void TnGerentecxGrid::StoreAsDefaultConfig() { FPadrao = Capturar(); }
void TnGerentecxGrid::RestaurarPadrao() { Aplicar(FPadrao); }
void TnGerentecxGrid::SalvarFormIniFile() const { LayoutsSalvos()[UpperCase(FChave)] = Capturar(); }

void TnGerentecxGrid::RestoreFormIniFile() {
  auto it = LayoutsSalvos().find(UpperCase(FChave));
  if (it != LayoutsSalvos().end()) Aplicar(it->second);
}

void TnGerentecxGrid::LimparLayoutsSalvos() { LayoutsSalvos().clear(); }

TnFrmPowerParamcxGridCloseTab::TnFrmPowerParamcxGridCloseTab() = default;

TnDMPowerParam& TnFrmPowerParamcxGridCloseTab::GetDMPower() const {
  if (!FDMPower) throw EInternalError(std::string(ClassName()) + " sem processo");
  return *FDMPower;
}

TnGerentecxGrid& TnFrmPowerParamcxGridCloseTab::Gerente() {
  if (!FGerente) FGerente = std::make_unique<TnGerentecxGrid>(std::string(ClassName()));
  return *FGerente;
}

void TnFrmPowerParamcxGridCloseTab::Configurar() {
  TnDMPowerParam& processo = GetDMPower();
  Caption = processo.Caption();
  DataSource = processo.FindComponent<TClientDataSet>("nClientDataSet");
}

void TnFrmPowerParamcxGridCloseTab::ConfigurarGerente() {
  if (!DataSource || Gerente().FindView(ConvertCaptionEmNome(Caption, 0))) return;
  Gerente().CriarTabSheetBanded(Caption, *DataSource);
  Gerente().ConfigurarGridFields(true, false);
}

TClientDataSet& TnFrmPowerParamcxGridCloseTab::DataSetDoProcesso(std::string_view aName) const {
  TClientDataSet* ds = GetDMPower().FindComponent<TClientDataSet>(aName);
  if (!ds) throw EInternalError("Item não encontrado: " + std::string(aName));
  return *ds;
}

TnDMPtr<TnFrmPowerParamcxGridCloseTab> nCriarFormularioProcesso(TnDMPowerParam& aProcesso) {
  std::string classe = aProcesso.GetFormClass();
  if (classe.empty()) throw EInternalError(std::string(aProcesso.ClassName()) + " não tem formulário");
  auto form = nComoClasse<TnFrmPowerParamcxGridCloseTab>(nCriarInstancia(classe));
  if (!form) throw EInternalError(classe + " não é um formulário de grade");
  form->AfterConstruction();
  form->SetDMPower(&aProcesso);
  form->Configurar();
  form->ConfigurarGerente();
  return form;
}

}  // namespace nFramework
