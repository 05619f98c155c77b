#include "DMClientDataSet_U.h"

#include <algorithm>
#include <cmath>
#include <regex>

#include "ClassRegistry_U.h"
#include "Classes_U.h"
#include "Conexao_U.h"
#include "Contexto_U.h"
#include "Dicionario_U.h"
#include "Exceptions_U.h"
#include "FieldExpression_U.h"
#include "FormatUtils_U.h"
#include "SQL_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"
#include "Utilitarios_U.h"

namespace nFramework {

namespace {

std::vector<std::string> Separar(std::string_view aTexto) {
  TStringList l;
  l.SetDelimitedText(aTexto, ';');
  std::vector<std::string> r;
  for (const auto& s : l)
    if (!Trim(s).empty()) r.push_back(Trim(s));
  return r;
}

bool Vazio(const TField& aField) {
  if (aField.IsNull()) return true;
  return IsTextType(aField.DataType()) && Trim(aField.AsString()).empty();
}

bool Numerico(TFieldType t) {
  return IsIntegerType(t) || t == TFieldType::ftFloat || t == TFieldType::ftCurrency;
}

std::string TextoNumero(double v) { return FloatToStr(v); }

// The values an integer column of that type holds.
bool FaixaDoTipo(TFieldType t, int64_t& aMinimo, int64_t& aMaximo) {
  if (t == TFieldType::ftSmallint) aMinimo = -32768, aMaximo = 32767;
  else if (t == TFieldType::ftInteger) aMinimo = -2147483647 - 1, aMaximo = 2147483647;
  else return false;
  return true;
}

// The table a registered register writes, by class name (one instance per class asked).
std::string TabelaDoCadastro(const std::string& aClasse) {
  static std::map<std::string, std::string> cache;
  std::string chave = UpperCase(aClasse);
  if (auto it = cache.find(chave); it != cache.end()) return it->second;
  if (!nClasseRegistrada(aClasse)) return {};
  TnDMPtr<> obj = nCriarInstancia(aClasse);
  auto* reg = dynamic_cast<TnDMClientDataSet*>(obj.get());
  std::string tabela = reg ? reg->Tabela() : std::string();
  cache[chave] = tabela;
  return tabela;
}

}  // namespace

TnDMClientDataSet::TnDMClientDataSet() {
  FDataSet = &AddClientDataSet("nClientDataSet");
  FDataSet->CortarTexto = false;  // ValidarDado refuses what does not fit
  FDataSet->BeforePost = [this](TClientDataSet&) { AntesPost(); };
  FDataSet->AfterPost = [this](TClientDataSet&) { DepoisPost(); };
  FDataSet->BeforeDelete = [this](TClientDataSet&) { AntesExcluir(); };
  FDataSet->OnNewRecord = [this](TClientDataSet&) { AoNovoRegistro(); };
}

TnDMClientDataSet::~TnDMClientDataSet() = default;

std::string TnDMClientDataSet::Tabela() const {
  if (!FTabela.empty()) return FTabela;
  static const std::regex from(R"(\bfrom\s+([A-Za-z_][A-Za-z0-9_]*))", std::regex::icase);
  std::smatch m;
  if (std::regex_search(FCommandText, m, from)) return m[1].str();
  return {};
}

TnCampoDef& TnDMClientDataSet::AddCampo(TnCampoDef aDef) {
  if (FindDefinicao(aDef.Nome)) throw EInternalError("campo declarado duas vezes: " + aDef.Nome);
  FCampos.push_back(std::move(aDef));
  return FCampos.back();
}

TnCampoDef* TnDMClientDataSet::FindDefinicao(std::string_view aCampo) {
  for (auto& c : FCampos)
    if (SameText(c.Nome, aCampo)) return &c;
  return nullptr;
}

TnCampoDef& TnDMClientDataSet::Definicao(std::string_view aCampo) {
  if (TnCampoDef* d = FindDefinicao(aCampo)) return *d;
  throw EInternalError(std::string(ClassName()) + " não tem o campo " + std::string(aCampo));
}

void TnDMClientDataSet::AddInfoDetalhe(std::string aClasse, std::string aCampoMestre, std::string aCampoDetalhe,
                                       std::string aTexto1, std::string aCaption, std::string aTexto2, bool aFlag1,
                                       bool aFlag2, bool aFlag3) {
  FDetalhes.push_back(TnInfoDetalhe{std::move(aClasse), std::move(aCampoMestre), std::move(aCampoDetalhe),
                                    std::move(aTexto1), std::move(aCaption), std::move(aTexto2), aFlag1, aFlag2,
                                    aFlag3});
}

std::vector<std::string> TnDMClientDataSet::CamposChave() const { return Separar(ChavePrimaria()); }

void TnDMClientDataSet::CriarEstrutura(const TClientDataSet* aModelo) {
  if (FDataSet->Active()) return;
  if (aModelo)
    for (int i = 0; i < aModelo->FieldCount(); ++i) {
      const TField& f = aModelo->Fields(i);
      if (FindDefinicao(f.FieldName())) continue;
      TnCampoDef d;
      d.Nome = f.FieldName();
      d.Tipo = f.DataType() == TFieldType::ftUnknown ? TFieldType::ftString : f.DataType();
      d.Tamanho = f.Size();
      FCampos.push_back(d);
    }
  for (const auto& c : FCampos) FDataSet->AddFieldDef(c.Nome, c.Tipo, c.Tamanho, false);
  FDataSet->CreateDataSet();
  for (auto& c : FCampos) {
    TField& f = FDataSet->FieldByName(c.Nome);
    std::string label = c.Label;
    if (const TnEntradaDicionario* e = c.Dicionario.empty() ? nullptr : Dicionario().Encontrar(c.Dicionario)) {
      if (label.empty()) label = e->Caption;
      if (c.Lista.empty()) c.Lista = e->Lista;
    }
    f.DisplayLabel = label.empty() ? c.Nome : label;
    // A grid over the register shows a list's captions, as its form does.
    f.ValueList = c.Lista;
    f.Visible = c.Visivel;
    f.ReadOnly = c.SomenteLeitura;
  }
  FCursor = CloneCDS(*FDataSet);
}

void TnDMClientDataSet::AntesConfigurar(void* aForm) {
  TnDataModule::AntesConfigurar(aForm);
  std::unique_ptr<TSQLDataSet> modelo;
  if (!FCommandText.empty() && TemConexao())
    modelo = ExecutarSQL("select * from (" + FCommandText + ") q where 1 = 0");
  CriarEstrutura(modelo.get());
}

void TnDMClientDataSet::ConfigSobDemanda() {
  if (FConfigurado) return;
  FConfigurado = true;
  AntesConfigurar(nullptr);
  DepoisConfigurar(nullptr);
}

void TnDMClientDataSet::Carregar(const std::string& ASQL) {
  ConfigSobDemanda();
  std::unique_ptr<TSQLDataSet> dados = ExecutarSQL(ASQL);
  CriarEstrutura(dados.get());
  FCarregando = true;
  // Stored rows are loaded as they are: the Required of the last row posted must not refuse them.
  for (int i = 0; i < FDataSet->FieldCount(); ++i) FDataSet->Fields(i).Required = false;
  try {
    FDataSet->Cancel();
    FDataSet->EmptyDataSet();
    CopyDataCDS(*dados, *FDataSet);
  } catch (...) {
    FCarregando = false;
    throw;
  }
  FCarregando = false;
  FDataSet->First();
  FAlteracoes.clear();
}

void TnDMClientDataSet::Abrir() { Carregar(FCommandText); }

void TnDMClientDataSet::FetchRegistros(const std::string& aFiltro) {
  if (Trim(aFiltro).empty()) return Abrir();
  Carregar("select * from (" + FCommandText + ") q where " + aFiltro);
}

std::optional<TVariant> TnDMClientDataSet::ValorDoCampo(const std::string& aNome) {
  TField* f = FDataSet->FindField(aNome);
  if (!f) return std::nullopt;
  return f->Value();
}

bool TnDMClientDataSet::CampoHabilitado(std::string_view aCampo) {
  TnCampoDef& d = Definicao(aCampo);
  if (d.ExpressaoHabilitado.empty()) return !d.SomenteLeitura;
  return AvaliarCondicao(d.ExpressaoHabilitado, [this](const std::string& n) { return ValorDoCampo(n); });
}

bool TnDMClientDataSet::CampoObrigatorio(std::string_view aCampo) {
  TnCampoDef& d = Definicao(aCampo);
  if (!d.ExpressaoHabilitado.empty() && !CampoHabilitado(aCampo)) return false;
  if (d.ExpressaoObrigatorio.empty()) return d.Obrigatorio;
  return AvaliarCondicao(d.ExpressaoObrigatorio, [this](const std::string& n) { return ValorDoCampo(n); });
}

void TnDMClientDataSet::AplicarExpressoes() {
  auto resolvedor = [this](const std::string& n) { return ValorDoCampo(n); };
  for (const auto& d : FCampos) {
    TField* f = FDataSet->FindField(d.Nome);
    if (!f || f->IsLookup()) continue;
    if (!d.ExpressaoValue.empty() && (d.ForcarValor || f->IsNull())) f->SetValue(AvaliarExpressao(d.ExpressaoValue, resolvedor));
    if (!d.ExpressaoLimpar.empty() && AvaliarCondicao(d.ExpressaoLimpar, resolvedor)) f->Clear();
  }
}

void TnDMClientDataSet::AtualizarEstadoCampos() {
  for (const auto& d : FCampos)
    if (TField* f = FDataSet->FindField(d.Nome); f && !f->IsLookup()) {
      f->ReadOnly = !CampoHabilitado(d.Nome);
      f->Required = CampoObrigatorio(d.Nome);
    }
}

void TnDMClientDataSet::ChecarConfigurarCampo(TField&) {
  if (FCarregando) return;  // stored rows are not edited by loading them
  TDataSetState s = FDataSet->State();
  if (s == TDataSetState::dsEdit || s == TDataSetState::dsInsert) AplicarExpressoes();
  AtualizarEstadoCampos();
}

void TnDMClientDataSet::AoNovoRegistro() {
  if (FCarregando) return;
  for (const auto& d : FCampos)
    if (!d.Padrao.empty())
      if (TField* f = FDataSet->FindField(d.Nome)) f->SetAsString(d.Padrao);
}

void TnDMClientDataSet::ValidarDado() {
  const std::vector<std::string> chave = CamposChave();
  for (const auto& d : FCampos) {
    TField* f = FDataSet->FindField(d.Nome);
    if (!f || f->IsLookup()) continue;
    const std::string label = "\"" + f->DisplayLabel + "\"";
    if (Vazio(*f)) {
      bool ehChave = std::any_of(chave.begin(), chave.end(), [&](const std::string& c) { return SameText(c, d.Nome); });
      if (ehChave || CampoObrigatorio(d.Nome)) throw Exception("O campo " + label + " deve ser informado!");
      continue;
    }
    if (!CampoHabilitado(d.Nome) && InformadoComCampoDesabilitado(d, *f))
      throw Exception("O campo " + label +
                      (d.ExpressaoHabilitado.empty() ? " não pode ser alterado!"
                                                     : " está desabilitado neste registro e deve ficar em branco!"));
    if (IsTextType(f->DataType()) && f->Size() > 0) {
      size_t tamanho = Utf8Length(f->AsStringView());
      if (tamanho > static_cast<size_t>(f->Size()))
        throw Exception("O campo " + label + " aceita no máximo " + std::to_string(f->Size()) +
                        (f->Size() == 1 ? " caractere" : " caracteres") + "; o valor informado tem " +
                        std::to_string(tamanho) + "!");
    }
    if (Numerico(f->DataType()) && (d.Minimo || d.Maximo)) {
      double v = f->AsFloat();
      if ((d.Minimo && v < *d.Minimo) || (d.Maximo && v > *d.Maximo)) {
        if (!d.MensagemFaixa.empty()) throw Exception(d.MensagemFaixa);
        throw Exception("Valor fora da faixa no campo " + label + ": " + TextoNumero(v) + " (de " +
                        (d.Minimo ? TextoNumero(*d.Minimo) : "") + " a " + (d.Maximo ? TextoNumero(*d.Maximo) : "") +
                        ")!");
      }
    }
    if (int64_t minimo, maximo; FaixaDoTipo(f->DataType(), minimo, maximo)) {
      int64_t v = f->AsLargeInt();
      if (v < minimo || v > maximo)
        throw Exception("O valor do campo " + label + " não cabe no campo: " + std::to_string(v) + " (de " +
                        std::to_string(minimo) + " a " + std::to_string(maximo) + ")!");
    }
    if (!d.Lista.empty()) {
      std::string valor = Trim(f->AsString()), validos;
      bool ok = false;
      for (const auto& [c, v] : ItensLista(d.Lista)) {
        ok = ok || v == valor;
        validos += (validos.empty() ? "" : ", ") + c + "=" + v;
      }
      if (!ok) throw Exception("Valor inválido no campo " + label + ": " + CitarValor(valor) + " (valores: " + validos + ")!");
    }
    std::string tabela = !d.LinkTabela.empty() ? d.LinkTabela : d.LinkCadastro.empty() ? "" : TabelaDoCadastro(d.LinkCadastro);
    if (!tabela.empty()) {
      std::vector<std::string> chaves = d.LinkChaves.empty() ? std::vector<std::string>{d.Nome} : Separar(d.LinkChaves);
      std::vector<TVariant> valores;
      bool completa = true;
      for (const auto& c : chaves) {
        TField* k = FDataSet->FindField(c);
        completa = completa && k && !k->IsNull();
        valores.push_back(k ? k->Value() : TVariant());
      }
      if (completa && !PegarTemRegistro(tabela, chaves.front(), Condicao(chaves, valores)))
        throw Exception("O valor do campo " + label + " não está cadastrado: " + CitarValor(f->AsString()) + "!");
    }
  }
}

bool TnDMClientDataSet::InformadoComCampoDesabilitado(const TnCampoDef& aDef, const TField& aField) {
  if (FDataSet->State() != TDataSetState::dsEdit || !FCursor->GotoBookmark(FDataSet->GetBookmark())) return true;
  const TField& guardado = FCursor->FieldByName(aDef.Nome);
  if (!(guardado.Value() == aField.Value())) return true;
  // A stored value the field held while it was enabled still counts, once the row's rules
  // disable the field: the row would keep a value that does not apply to it.
  if (aDef.ExpressaoHabilitado.empty()) return false;
  return AvaliarCondicao(aDef.ExpressaoHabilitado, [this](const std::string& n) -> std::optional<TVariant> {
    TField* g = FCursor->FindField(n);
    if (!g) return std::nullopt;
    return g->Value();
  });
}

std::vector<TVariant> TnDMClientDataSet::ValoresChave() {
  std::vector<TVariant> r;
  for (const auto& c : CamposChave()) r.push_back(FDataSet->FieldByName(c).Value());
  return r;
}

std::vector<TVariant> TnDMClientDataSet::ChaveGuardada(int64_t aLinha) {
  std::vector<TVariant> r;
  if (!FCursor->GotoBookmark(aLinha)) return r;
  for (const auto& c : CamposChave()) r.push_back(FCursor->FieldByName(c).Value());
  return r;
}

std::string TnDMClientDataSet::Condicao(const std::vector<std::string>& aCampos,
                                        const std::vector<TVariant>& aValores) const {
  std::string r;
  for (size_t i = 0; i < aCampos.size(); ++i) {
    TField* f = FDataSet->FindField(aCampos[i]);
    TFieldType t = f ? f->DataType() : TFieldType::ftString;
    r += (r.empty() ? "" : " and ") + aCampos[i] +
         (aValores[i].IsNull() ? std::string(" is null") : " = " + ValorParaSQL(aValores[i], t));
  }
  return r;
}

std::string TnDMClientDataSet::DescricaoChave(const std::vector<TVariant>& aValores) {
  std::vector<std::string> campos = CamposChave();
  std::string r;
  for (size_t i = 0; i < campos.size() && i < aValores.size(); ++i)
    r += (r.empty() ? "" : ", ") + FDataSet->FieldByName(campos[i]).DisplayLabel + " = " + CitarValor(VarToStr(aValores[i]));
  return r;
}

void TnDMClientDataSet::ChecarChave(const std::vector<TVariant>* aChaveOriginal) {
  std::vector<std::string> campos = CamposChave();
  if (campos.empty()) return;
  std::vector<TVariant> valores = ValoresChave();
  bool mudou = !aChaveOriginal || aChaveOriginal->size() != valores.size();
  for (size_t i = 0; !mudou && i < valores.size(); ++i) mudou = !(valores[i] == (*aChaveOriginal)[i]);
  if (!mudou) return;
  if (aChaveOriginal && !FPodeAlterarChave)
    throw Exception("A chave do registro não pode ser alterada (" + ChavePrimaria() + ")!");
  std::string descricao = DescricaoChave(valores);
  int64_t editada = FDataSet->State() == TDataSetState::dsEdit ? FDataSet->GetBookmark() : -1;
  std::string nomes;
  for (const auto& c : campos) nomes += (nomes.empty() ? "" : ";") + c;
  if (FCursor->Locate(nomes, valores) && FCursor->GetBookmark() != editada)
    throw Exception("Registro já cadastrado: " + descricao + "!");
  // A stored row with this key that a pending deletion removes first does not count.
  for (const auto& a : FAlteracoes)
    if (a.Tipo != TTipoAlteracao::Insercao && a.ChaveOriginal == valores) return;
  std::string tabela = Tabela();
  if (!tabela.empty() && PegarTemRegistro(tabela, campos.front(), Condicao(campos, valores)))
    throw Exception("Registro já cadastrado: " + descricao + "!");
}

void TnDMClientDataSet::AntesPost() {
  if (FCarregando) return;
  FEstadoPost = FDataSet->State();
  std::optional<std::vector<TVariant>> original;
  if (FEstadoPost == TDataSetState::dsEdit) {
    int64_t linha = FDataSet->GetBookmark();
    auto it = std::find_if(FAlteracoes.begin(), FAlteracoes.end(), [&](const TAlteracao& a) { return a.Linha == linha; });
    if (it == FAlteracoes.end()) original = ChaveGuardada(linha);
    else if (it->Tipo == TTipoAlteracao::Alteracao) original = it->ChaveOriginal;
  }
  std::vector<std::string> chave = CamposChave();
  for (const auto& d : FCampos) {
    if (!d.AutoIncrementar) continue;
    TField* f = FDataSet->FindField(d.Nome);
    if (!f || !f->IsNull() || Tabela().empty()) continue;
    std::vector<std::string> outros;
    std::vector<TVariant> valores;
    for (const auto& c : chave)
      if (!SameText(c, d.Nome))
        if (TField* k = FDataSet->FindField(c); k && !k->IsNull()) outros.push_back(c), valores.push_back(k->Value());
    int64_t proximo = PegarProximoCodigoInt(Tabela(), d.Nome, outros.empty() ? "" : Condicao(outros, valores));
    for (FCursor->First(); !FCursor->Eof(); FCursor->Next()) {
      bool mesmo = true;
      for (size_t i = 0; i < outros.size(); ++i) mesmo = mesmo && FCursor->FieldByName(outros[i]).Value() == valores[i];
      if (mesmo) proximo = std::max(proximo, FCursor->FieldByName(d.Nome).AsLargeInt() + 1);
    }
    f->SetAsInteger(proximo);
  }
  AplicarExpressoes();
  ValidarDado();
  ChecarChave(original ? &*original : nullptr);
  // The dataset's own check of Required must agree with the rules just applied.
  AtualizarEstadoCampos();
  FChaveOriginalPost = original ? *original : std::vector<TVariant>{};
}

void TnDMClientDataSet::DepoisPost() {
  if (FCarregando) return;
  int64_t linha = FDataSet->GetBookmark();
  auto it = std::find_if(FAlteracoes.begin(), FAlteracoes.end(), [&](const TAlteracao& a) { return a.Linha == linha; });
  if (it != FAlteracoes.end()) return;  // already pending: an insert stays one, an update keeps its original key
  if (FEstadoPost == TDataSetState::dsInsert) FAlteracoes.push_back(TAlteracao{TTipoAlteracao::Insercao, linha, {}});
  else FAlteracoes.push_back(TAlteracao{TTipoAlteracao::Alteracao, linha, FChaveOriginalPost});
}

void TnDMClientDataSet::AntesExcluir() {
  if (FCarregando) return;
  int64_t linha = FDataSet->GetBookmark();
  auto it = std::find_if(FAlteracoes.begin(), FAlteracoes.end(), [&](const TAlteracao& a) { return a.Linha == linha; });
  if (it == FAlteracoes.end()) {
    FAlteracoes.push_back(TAlteracao{TTipoAlteracao::Exclusao, linha, ValoresChave()});
  } else if (it->Tipo == TTipoAlteracao::Insercao) {
    FAlteracoes.erase(it);  // never reached the table
  } else {
    it->Tipo = TTipoAlteracao::Exclusao;
  }
}

const std::vector<std::string>& TnDMClientDataSet::ColunasTabela() {
  if (FColunasTabela.empty()) {
    auto vazio = ExecutarSQL("select * from " + Tabela() + " where 1 = 0");
    for (int i = 0; i < vazio->FieldCount(); ++i) FColunasTabela.push_back(vazio->Fields(i).FieldName());
  }
  return FColunasTabela;
}

void TnDMClientDataSet::Aplicar(const TAlteracao& aAlteracao) {
  const std::string tabela = Tabela();
  if (tabela.empty()) throw EInternalError(std::string(ClassName()) + " não sabe em que tabela gravar");
  std::vector<std::string> chave = CamposChave();
  if (chave.empty() && aAlteracao.Tipo != TTipoAlteracao::Insercao)
    throw EInternalError(std::string(ClassName()) + " não declara a chave primária");
  TValores valores;
  std::string sql;
  auto ondeChave = [&](const std::vector<TVariant>& aValores) {
    std::string r;
    for (size_t i = 0; i < chave.size(); ++i) {
      r += (r.empty() ? "" : " and ") + chave[i] + " = :K" + std::to_string(i + 1);
      valores.push_back(i < aValores.size() ? aValores[i] : TVariant());
    }
    return r;
  };
  if (aAlteracao.Tipo == TTipoAlteracao::Exclusao) {
    sql = "delete from " + tabela + " where " + ondeChave(aAlteracao.ChaveOriginal);
  } else {
    if (!FCursor->GotoBookmark(aAlteracao.Linha)) throw EInternalError("registro pendente não encontrado");
    std::vector<TField*> campos;
    for (const auto& c : ColunasTabela())
      if (TField* f = FCursor->FindField(c); f && !f->IsLookup()) campos.push_back(f);
    if (aAlteracao.Tipo == TTipoAlteracao::Insercao) {
      std::string nomes, marcas;
      for (size_t i = 0; i < campos.size(); ++i) {
        nomes += (i ? ", " : "") + campos[i]->FieldName();
        marcas += (i ? ", :P" : ":P") + std::to_string(i + 1);
        valores.push_back(campos[i]->Value());
      }
      sql = "insert into " + tabela + " (" + nomes + ") values (" + marcas + ")";
    } else {
      std::string sets;
      for (size_t i = 0; i < campos.size(); ++i) {
        sets += (i ? ", " : "") + campos[i]->FieldName() + " = :P" + std::to_string(i + 1);
        valores.push_back(campos[i]->Value());
      }
      sql = "update " + tabela + " set " + sets + " where " + ondeChave(aAlteracao.ChaveOriginal);
    }
  }
  int64_t n = ExecutarSQLDireto(sql, valores);
  if (n == 0 && aAlteracao.Tipo != TTipoAlteracao::Insercao)
    throw Exception("Registro não encontrado em " + tabela + ": foi alterado ou excluído por outro usuário.");
}

std::string TnDMClientDataSet::MensagemFalha(const TAlteracao& aAlteracao, const std::exception& aErro) {
  auto* banco = dynamic_cast<const EDatabaseError*>(&aErro);
  if (!banco) return aErro.what();
  auto chave = [&] {
    if (aAlteracao.Tipo == TTipoAlteracao::Exclusao || !FCursor->GotoBookmark(aAlteracao.Linha))
      return DescricaoChave(aAlteracao.ChaveOriginal);
    std::vector<TVariant> valores;
    for (const auto& c : CamposChave()) valores.push_back(FCursor->FieldByName(c).Value());
    return DescricaoChave(valores);
  };
  switch (banco->Tipo()) {
    case TTipoErroBanco::ChaveEstrangeira:
      return aAlteracao.Tipo == TTipoAlteracao::Exclusao
                 ? "O registro não pode ser excluído: ele está sendo usado em outro cadastro."
                 : "O registro faz referência a um cadastro que não existe.";
    // Another user saved the same key after this row was checked.
    case TTipoErroBanco::ChaveDuplicada: return "Registro já cadastrado: " + chave() + "!";
    case TTipoErroBanco::EmUso:
    case TTipoErroBanco::Conflito:
      LogDebug(banco->what());
      return "Registro " + chave() +
             ": outro usuário gravava o mesmo registro ao mesmo tempo, e esta alteração não foi gravada. Tente de novo.";
    default: return aErro.what();
  }
}

int TnDMClientDataSet::ApplyUpdates(int aMaxErrors) {
  FErros.clear();
  if (FAlteracoes.empty()) return 0;
  TnDMConexao& c = Conexao();
  c.StartTransaction();
  std::vector<TAlteracao> falhas;
  try {
    for (const auto& a : FAlteracoes) {
      // Each change in a savepoint: a refused one leaves the others, and on a server the
      // transaction, as they were.
      c.StartTransaction();
      try {
        Aplicar(a);
        c.Commit();
      } catch (const EInternalError&) {
        c.RollBack();
        throw;
      } catch (const Exception& e) {
        c.RollBack();
        FErros.push_back(MensagemFalha(a, e));
        falhas.push_back(a);
      }
    }
  } catch (...) {
    c.RollBack();
    throw;
  }
  int erros = static_cast<int>(falhas.size());
  if (erros > aMaxErrors) {
    c.RollBack();
    return erros;
  }
  c.Commit();
  FAlteracoes = std::move(falhas);
  return erros;
}

std::vector<TnChaveSelecao> ChavesSelecao(TnDMClientDataSet& aReg) {
  std::vector<TnChaveSelecao> r;
  for (const auto& chave : Separar(aReg.PegarVerificaSelecao())) {
    TnChaveSelecao c;
    c.Chave = chave;
    if (TField* f = aReg.nClientDataSet().FindField(chave); f && !f->IsLookup()) c.Campo = f;
    if (const TVariant* v = TnSelecao::GetParams().Encontrar(chave)) c.Valor = *v;
    r.push_back(std::move(c));
  }
  return r;
}

std::string CondicaoSelecao(const std::vector<TnChaveSelecao>& aChaves) {
  std::string r;
  for (const auto& c : aChaves)
    if (c.Campo && c.Valor)
      r += (r.empty() ? "" : " and ") + c.Campo->FieldName() + " = " + ValorParaSQL(*c.Valor, c.Campo->DataType());
  return r;
}

}  // namespace nFramework
