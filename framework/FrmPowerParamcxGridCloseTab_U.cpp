#include "FrmPowerParamcxGridCloseTab_U.h"

#include <algorithm>
#include <cctype>
#include <map>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Exceptions_U.h"

namespace nFramework {

namespace {
// The command line's storage: the layouts of one run, by form class and view (upper case).
class TArmazenamentoMemoria : public IArmazenamentoLayout {
 public:
  std::optional<std::string> Ler(const std::string& aForm, const std::string& aView) override {
    auto it = FTextos.find(Chave(aForm, aView));
    if (it == FTextos.end()) return std::nullopt;
    return it->second;
  }
  void Gravar(const std::string& aForm, const std::string& aView, const std::string& aTexto) override {
    FTextos[Chave(aForm, aView)] = aTexto;
  }
  void Limpar() { FTextos.clear(); }

 private:
  static std::string Chave(const std::string& aForm, const std::string& aView) {
    return UpperCase(aForm) + '\n' + UpperCase(aView);
  }
  std::map<std::string, std::string> FTextos;
};

TArmazenamentoMemoria& Memoria() {
  static TArmazenamentoMemoria memoria;
  return memoria;
}

IArmazenamentoLayout* gArmazenamento = nullptr;

constexpr size_t kMaxTextoLayout = 64 * 1024;
constexpr size_t kMaxColunasLayout = 2000;
constexpr int kMaxLargura = 20000;

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

void SetArmazenamentoLayout(IArmazenamentoLayout* aArmazenamento) { gArmazenamento = aArmazenamento; }

IArmazenamentoLayout& ArmazenamentoLayout() { return gArmazenamento ? *gArmazenamento : Memoria(); }

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
    std::vector<TnColunaGrid> ordem;
    std::vector<bool> usada(view->Columns.size(), false);
    for (const auto& colunaSalva : salva.Columns) {
      for (size_t i = 0; i < view->Columns.size(); ++i) {
        if (usada[i] || !SameText(view->Columns[i].FieldName, colunaSalva.FieldName)) continue;
        TnColunaGrid coluna = view->Columns[i];
        coluna.Visible = colunaSalva.Visible;
        coluna.GroupIndex = colunaSalva.GroupIndex;
        coluna.AllowGroup = colunaSalva.AllowGroup || colunaSalva.GroupIndex >= 0;
        coluna.Width = colunaSalva.Width;
        ordem.push_back(std::move(coluna));
        usada[i] = true;
        break;
      }
    }
    // A column the layout lacks (a field added since) follows the column it follows now.
    for (size_t i = 0; i < view->Columns.size(); ++i) {
      if (usada[i]) continue;
      auto pos = ordem.begin();
      for (size_t j = i; j-- > 0;) {
        auto achada = std::find_if(ordem.begin(), ordem.end(), [&](const TnColunaGrid& c) {
          return SameText(c.FieldName, view->Columns[j].FieldName);
        });
        if (achada != ordem.end()) {
          pos = achada + 1;
          break;
        }
      }
      ordem.insert(pos, view->Columns[i]);
    }
    view->Columns = std::move(ordem);
  }
}

std::string TnGerentecxGrid::TextoLayout(const TLayoutView& aLayout) {
  std::string r = "layout\t1\nnivel\t" + std::string(aLayout.LevelVisible ? "1" : "0") + "\n";
  for (const auto& c : aLayout.Columns)
    r += "coluna\t" + c.FieldName + "\t" + (c.Visible ? "1" : "0") + "\t" + std::to_string(c.GroupIndex) + "\t" +
         (c.AllowGroup ? "1" : "0") + "\t" + std::to_string(c.Width) + "\n";
  return r;
}

std::optional<TnGerentecxGrid::TLayoutView> TnGerentecxGrid::LerTextoLayout(std::string_view aTexto) {
  if (aTexto.size() > kMaxTextoLayout) return std::nullopt;
  TLayoutView r;
  bool cabecalho = false;
  auto inteiro = [](const std::string& t, int minimo, int maximo) -> std::optional<int> {
    int64_t v;
    if (t.empty() || t.size() > 6 || !TryStrToInt64(t, v) || v < minimo || v > maximo) return std::nullopt;
    return static_cast<int>(v);
  };
  size_t inicio = 0;
  while (inicio < aTexto.size()) {
    size_t fim = aTexto.find('\n', inicio);
    if (fim == std::string_view::npos) fim = aTexto.size();
    std::string_view linha = aTexto.substr(inicio, fim - inicio);
    inicio = fim + 1;
    if (linha.empty()) continue;
    std::vector<std::string> partes;
    size_t p = 0;
    while (true) {
      size_t tab = linha.find('\t', p);
      partes.emplace_back(linha.substr(p, tab == std::string_view::npos ? std::string_view::npos : tab - p));
      if (tab == std::string_view::npos) break;
      p = tab + 1;
    }
    if (!cabecalho) {
      if (partes.size() != 2 || partes[0] != "layout" || partes[1] != "1") return std::nullopt;
      cabecalho = true;
    } else if (partes[0] == "nivel" && partes.size() == 2 && (partes[1] == "0" || partes[1] == "1")) {
      r.LevelVisible = partes[1] == "1";
    } else if (partes[0] == "coluna" && partes.size() == 6 && !partes[1].empty() && r.Columns.size() < kMaxColunasLayout) {
      TnColunaGrid c;
      c.FieldName = partes[1];
      auto visivel = inteiro(partes[2], 0, 1), grupo = inteiro(partes[3], -1, 1000), agrupa = inteiro(partes[4], 0, 1),
           largura = inteiro(partes[5], 0, kMaxLargura);
      if (!visivel || !grupo || !agrupa || !largura) return std::nullopt;
      c.Visible = *visivel == 1;
      c.GroupIndex = *grupo;
      c.AllowGroup = *agrupa == 1;
      c.Width = *largura;
      r.Columns.push_back(std::move(c));
    } else {
      return std::nullopt;
    }
  }
  if (!cabecalho) return std::nullopt;
  return r;
}

void TnGerentecxGrid::StoreAsDefaultConfig() { FPadrao = Capturar(); }
void TnGerentecxGrid::RestaurarPadrao() { Aplicar(FPadrao); }

void TnGerentecxGrid::SalvarFormIniFile() const {
  for (const TLayoutView& view : Capturar()) ArmazenamentoLayout().Gravar(FChave, view.Name, TextoLayout(view));
}

void TnGerentecxGrid::RestoreFormIniFile() {
  std::vector<TLayoutView> salvos;
  for (const auto& view : FViews) {
    std::optional<std::string> texto = ArmazenamentoLayout().Ler(FChave, view->Name);
    if (!texto) continue;
    if (std::optional<TLayoutView> layout = LerTextoLayout(*texto)) {
      layout->Name = view->Name;
      salvos.push_back(std::move(*layout));
    }
  }
  Aplicar(salvos);
}

void TnGerentecxGrid::LimparLayoutsSalvos() { Memoria().Limpar(); }

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
