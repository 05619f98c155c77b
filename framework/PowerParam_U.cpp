#include "PowerParam_U.h"

#include "Classes_U.h"
#include "Contexto_U.h"
#include "Dialogo_U.h"
#include "FieldExpression_U.h"
#include "FormatUtils_U.h"
#include "TextoMensagem_U.h"

namespace nFramework {

namespace {

bool EhMesAno(const std::string& aTexto) {
  // mm/yyyy, or a whole date of which only the month counts
  TDateTime d;
  if (TryStrToDateParametro(aTexto, d)) return true;
  return TryStrToDateParametro("01/" + Trim(aTexto), d);
}

// A folder as a panel takes it: one line, as a file name on every system the courts' users have.
bool TemCaractereDeControle(std::string_view aTexto) {
  for (unsigned char c : aTexto)
    if (c < 0x20 || c == 0x7F) return true;
  return false;
}

}  // namespace

TnParamItem::TnParamItem(TnPowerParamPanel& aPanel, TnParamDef aDef)
    : FPanel(aPanel), FDef(std::move(aDef)), FValor(FDef.Padrao) {}

const TnEntradaDicionario* TnParamItem::EntradaDicionario() const {
  return FDef.Dicionario.empty() ? nullptr : Dicionario().Encontrar(FDef.Dicionario);
}

std::string TnParamItem::Caption() const {
  if (!FDef.Caption.empty()) return FDef.Caption;
  if (auto* e = EntradaDicionario(); e && !e->Caption.empty()) return e->Caption;
  return FDef.Alias;
}

TnControle TnParamItem::Controle() const {
  if (!FDef.Lista.empty()) return TnControle::Combo;
  auto* e = EntradaDicionario();
  return e ? e->Controle : TnControle::Texto;
}

std::vector<std::pair<std::string, std::string>> TnParamItem::Escolhas() const {
  if (!FDef.Lista.empty()) return ItensLista(FDef.Lista);
  auto* e = EntradaDicionario();
  return e && !e->Lista.empty() ? ItensLista(e->Lista) : std::vector<std::pair<std::string, std::string>>{};
}

std::string TnParamItem::ClasseLookup() const {
  if (!FDef.ClasseLookup.empty()) return FDef.ClasseLookup;
  auto* e = EntradaDicionario();
  return e ? e->ClasseLookup : std::string();
}

bool TnParamItem::Habilitado() const {
  if (FDef.ExpressaoHabilitado.empty()) return true;
  return AvaliarCondicao(FDef.ExpressaoHabilitado, [this](const std::string& n) { return FPanel.ValorDoNome(n); });
}

bool TnParamItem::Obrigatorio() const {
  if (!Habilitado()) return false;
  if (FDef.ExpressaoObrigatorio.empty()) return FDef.Obrigatorio;
  return AvaliarCondicao(FDef.ExpressaoObrigatorio, [this](const std::string& n) { return FPanel.ValorDoNome(n); });
}

TnParamItem& TnPowerParamPanel::Add(TnParamDef aDef) {
  if (FindParam(aDef.Alias)) throw EInternalError("parâmetro declarado duas vezes: " + aDef.Alias);
  FItens.push_back(std::make_unique<TnParamItem>(*this, std::move(aDef)));
  return *FItens.back();
}

TnParamItem* TnPowerParamPanel::FindParam(std::string_view aAlias) const {
  for (const auto& i : FItens)
    if (SameText(i->Alias(), aAlias)) return i.get();
  return nullptr;
}

TnParamItem& TnPowerParamPanel::Param(std::string_view aAlias) const {
  if (TnParamItem* i = FindParam(aAlias)) return *i;
  throw EInternalError("parâmetro não declarado no painel: " + std::string(aAlias));
}

std::optional<TVariant> TnPowerParamPanel::ValorDoNome(const std::string& aNome) const {
  if (TnParamItem* i = FindParam(aNome)) return TVariant(i->Value());
  return std::nullopt;
}

void TnPowerParamPanel::Restaurar() {
  for (auto& i : FItens) i->Restaurar();
}

void TnPowerParamPanel::PreencherDaSelecao() {
  for (auto& i : FItens) {
    const std::string& alias = i->Alias();
    if (alias.size() < 2 || (alias[0] != 'p' && alias[0] != 'P') || !Trim(i->Value()).empty()) continue;
    if (const TVariant* v = TnSelecao::GetParams().Encontrar(alias.substr(1))) i->SetValue(VarToStr(*v));
  }
}

std::string TnPowerParamPanel::NormalizarValor(const TnParamItem& aItem, const std::string& aTexto) const {
  if (aItem.Controle() != TnControle::Combo && aItem.Controle() != TnControle::Selecionado) return aTexto;
  for (const auto& [caption, valor] : aItem.Escolhas())
    if (valor == aTexto) return aTexto;
  for (const auto& [caption, valor] : aItem.Escolhas())
    if (SameText(caption, aTexto)) return valor;
  return aTexto;
}

void TnPowerParamPanel::Validar() const {
  for (const auto& item : FItens) {
    const std::string valor = Trim(item->Value());
    const std::string caption = "\"" + item->Caption() + "\"";
    if (valor.empty()) {
      if (item->Obrigatorio()) throw EnParam(*item, "Informe o parâmetro " + caption + "!");
      continue;
    }
    if (item->Def().MultiplosValores) continue;
    switch (item->Controle()) {
      case TnControle::Data: {
        TDateTime d;
        if (!TryStrToDate(valor, d))
          throw EnParam(*item, "Data inválida no parâmetro " + caption + ": " + CitarValor(valor) + " (use dd/mm/aaaa)!");
        if (!TryStrToDateParametro(valor, d))
          throw EnParam(*item, "Data inválida no parâmetro " + caption + ": " + CitarValor(valor) + " (o ano deve estar entre " +
                                   std::to_string(kAnoMinimoParametro) + " e " + std::to_string(kAnoMaximoParametro) + ")!");
        break;
      }
      case TnControle::Diretorio:
        if (TemCaractereDeControle(valor))
          throw EnParam(*item, "Pasta inválida no parâmetro " + caption + ": " + CitarValor(valor) +
                                   " (a pasta não pode conter quebras de linha nem outros caracteres de controle)!");
        break;
      case TnControle::DataMesAno:
        if (!EhMesAno(valor))
          throw EnParam(*item, "Competência inválida no parâmetro " + caption + ": " + CitarValor(valor) + " (use mm/aaaa)!");
        break;
      case TnControle::Inteiro: {
        int64_t n;
        if (!TryStrToInt64(valor, n))
          throw EnParam(*item, "Valor inteiro inválido no parâmetro " + caption + ": " + CitarValor(valor) + "!");
        break;
      }
      case TnControle::Numerico: {
        double d;
        if (!TryStrToFloat(valor, d))
          throw EnParam(*item, "Valor numérico inválido no parâmetro " + caption + ": " + CitarValor(valor) + "!");
        break;
      }
      case TnControle::Combo:
      case TnControle::Selecionado: {
        // A stored default outside the list stands; a value set since must be one of the list.
        auto escolhas = item->Escolhas();
        if (escolhas.empty() || valor == Trim(item->Def().Padrao)) break;
        bool ok = false;
        std::string validos;
        for (const auto& [c, v] : escolhas) {
          ok = ok || v == valor;
          validos += (validos.empty() ? "" : ", ") + c + "=" + v;
        }
        if (!ok)
          throw EnParam(*item, "Valor inválido no parâmetro " + caption + ": " + CitarValor(valor) + " (valores: " + validos + ")!");
        break;
      }
      default: break;
    }
  }
}

TnDatasetAction& TnPowerParamPanel::AddDatasetAction(const std::string& aName) {
  if (FindAction(aName)) throw EInternalError("ação declarada duas vezes: " + aName);
  auto& a = FAcoes.CriarAction<TnDatasetAction>();
  a.Name = aName;
  return a;
}

std::vector<TnAction*> TnPowerParamPanel::Acoes() const {
  std::vector<TnAction*> r;
  for (const auto& a : FAcoes) r.push_back(a.get());
  r.insert(r.end(), FAcoesExternas.begin(), FAcoesExternas.end());
  return r;
}

TnAction* TnPowerParamPanel::FindAction(std::string_view aName) const {
  for (TnAction* a : Acoes())
    if (SameText(a->Name, aName)) return a;
  return nullptr;
}

TnDMPowerParam::TnDMPowerParam() : FMsgTree(std::make_shared<TnMsgTreeLista>()) {}

TnDMPowerParam::~TnDMPowerParam() {
  // The controller must not keep showing a tree whose process is gone.
  if (ControleMensagem().FraListaMensagemTree() == FMsgTree) ControleMensagem().SetFraListaMensagemTree(nullptr);
}

TnMsgNode* TnDMPowerParam::MsgTree(int aTipo, const std::string& aTexto, TnMsgNode* aPai) {
  return FMsgTree->Add(aTipo, aTexto, aPai);
}

TnFraProgresso& TnDMPowerParam::GetProgresso() {
  if (!FProgresso) FProgresso = CriarProgresso(this);
  return *FProgresso;
}

bool TnDMPowerParam::ExecutarAcao(std::string_view aName) {
  TnAction* a = npqPowerParam.FindAction(aName);
  if (!a) throw EInternalError(std::string(ClassName()) + " não tem a ação " + std::string(aName));
  if (auto* d = dynamic_cast<TnDatasetAction*>(a); d && !d->Confirmacao.empty())
    if (nMessageDlg(d->Confirmacao, mtConfirmation, {"Sim", "Não"}, 0, 1) != 0) return false;
  a->Execute();
  return true;
}

void nExecutarProcesso(TnDMPowerParam& aProcesso) {
  aProcesso.GetMsgTreeLista()->Clear();
  aProcesso.npqPowerParam.PreencherDaSelecao();
  // The process's own checks speak first: their messages ("Data inicial inválida!") are the
  // ones its users know; the panel's generic checks then catch what the process leaves.
  aProcesso.ValidarDado();
  aProcesso.npqPowerParam.Validar();
  aProcesso.Executar();
}

void nPrepararMensagensExecucao() {
  ControleMensagem().SetFraListaMensagemTree(nullptr);
  ControleMensagem().LimparListaMensagem();
}

std::vector<const ITreeMessager*> nArvoresDaExecucao(const TnDMPowerParam& aProcesso) {
  std::vector<const ITreeMessager*> r{aProcesso.GetMsgTreeLista().get()};
  auto anexada = ControleMensagem().FraListaMensagemTree();
  if (anexada && anexada != aProcesso.GetMsgTreeLista()) r.push_back(anexada.get());
  r.push_back(&ControleMensagem().ListaMensagem());
  return r;
}

bool nExecucaoFalhou(const TnDMPowerParam& aProcesso) {
  for (const ITreeMessager* t : nArvoresDaExecucao(aProcesso))
    if (t->Falhou()) return true;
  return false;
}

}  // namespace nFramework
