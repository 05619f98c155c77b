#include "GradeDados_U.h"

#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <unordered_set>

#include "Classes_U.h"
#include "Dicionario_U.h"
#include "FormatUtils_U.h"
#include "PowerParamCxGridConfigBase_U.h"
#include "TextUtils_U.h"
#include "TextoMensagem_U.h"
#include "Variant_U.h"

namespace nFramework {

namespace {

bool IsNumberType(TFieldType t) {
  return IsIntegerType(t) || t == TFieldType::ftFloat || t == TFieldType::ftCurrency;
}

std::string Juntar(const std::vector<std::string>& aPartes, std::string_view aSep) {
  std::string r;
  for (const auto& p : aPartes) r += (r.empty() ? "" : std::string(aSep)) + p;
  return r;
}

// A value in a message: one line, cut when long.
std::string Resumir(std::string_view aTexto) { return CitarValor(aTexto, 40); }

std::string TrimDireita(std::string_view s) {
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return std::string(s);
}

bool ValorMarcado(const TField& f) {
  if (f.IsNull()) return false;
  if (IsTextType(f.DataType())) {
    std::string t = UpperCase(Trim(f.AsString()));
    return t == "1" || t == "S" || t == "SIM" || t == "TRUE" || t == "X";
  }
  return f.AsFloat() != 0;
}

// The tick a text asks for: "1", "✓", "x", "Sim" tick; "0", "", "Não" untick.
std::optional<bool> LerMarca(std::string_view aTexto) {
  std::string t = UpperCase(Trim(aTexto));
  if (t == "1" || t == "✓" || t == "X" || t == "S" || t == "SIM" || t == "TRUE") return true;
  if (t.empty() || t == "0" || t == "N" || t == "NÃO" || t == "NAO" || t == "FALSE") return false;
  return std::nullopt;
}

std::optional<bool> LerBooleano(std::string_view aTexto) {
  std::string t = UpperCase(Trim(aTexto));
  if (t == "1" || t == "S" || t == "SIM" || t == "TRUE" || t == "VERDADEIRO") return true;
  if (t == "0" || t == "N" || t == "NÃO" || t == "NAO" || t == "FALSE" || t == "FALSO") return false;
  return std::nullopt;
}

// The value of the list a cell holds: compared as numbers in numeric columns.
bool ValorIgual(const TField& f, const std::string& aValor) {
  TFieldType t = f.DataType();
  if (IsNumberType(t) || t == TFieldType::ftBoolean) {
    double v;
    if (!TryStrToFloat(aValor, v)) return false;
    if (t == TFieldType::ftCurrency) {
      try {
        return Currency::FromString(Trim(aValor)) == f.AsCurrency();
      } catch (const EConvertError&) {
        return false;
      }
    }
    return v == f.AsFloat();
  }
  return Trim(aValor) == Trim(f.AsString());
}

// "-0012.50" as "-12.5": canonical numbers that are equal compare equal as texts.
std::string NumeroSemZeros(std::string n) {
  bool negativo = !n.empty() && n[0] == '-';
  if (negativo) n.erase(0, 1);
  if (auto p = n.find('.'); p != std::string::npos) {
    while (n.back() == '0') n.pop_back();
    if (n.back() == '.') n.pop_back();
  }
  size_t zeros = 0;
  while (zeros + 1 < n.size() && n[zeros] == '0' && n[zeros + 1] != '.') ++zeros;
  n.erase(0, zeros);
  return negativo && n != "0" ? "-" + n : n;
}

// A comma between digits outside quotes: a number written as a cell shows it ("1000,5"),
// not a list ("in (1,2)").
bool VirgulaDecimal(std::string_view aExpressao) {
  std::string maiusculas = UpperCase(aExpressao);
  if (maiusculas.find("IN (") != std::string::npos || maiusculas.find("IN(") != std::string::npos) return false;
  bool aspas = false;
  for (size_t i = 0; i < aExpressao.size(); ++i) {
    char c = aExpressao[i];
    if (c == '\'') aspas = !aspas;
    auto digito = [&](size_t j) { return j < aExpressao.size() && aExpressao[j] >= '0' && aExpressao[j] <= '9'; };
    if (!aspas && c == ',' && i > 0 && digito(i - 1) && digito(i + 1)) return true;
  }
  return false;
}

std::optional<TDateTime> LerData(std::string_view aTexto, bool aComHora) {
  std::string t = Trim(aTexto);
  if (auto iso = TryISOToDateTime(t)) return aComHora ? *iso : std::floor(*iso);
  std::string data = t, hora;
  if (auto esp = t.find(' '); esp != std::string::npos && aComHora) {
    data = t.substr(0, esp);
    hora = Trim(t.substr(esp + 1));
  }
  TDateTime d;
  if (!TryStrToDate(data, d)) return std::nullopt;
  if (hora.empty()) return d;
  TStringList partes;
  partes.SetDelimitedText(hora, ':');
  if (partes.Count() < 2 || partes.Count() > 3) return std::nullopt;
  int hms[3] = {0, 0, 0};
  int limites[3] = {23, 59, 59};
  for (size_t i = 0; i < partes.Count(); ++i) {
    hms[i] = StrToIntDef(partes[i], -1);
    if (hms[i] < 0 || hms[i] > limites[i]) return std::nullopt;
  }
  return d + EncodeTime(hms[0], hms[1], hms[2], 0);
}

}  // namespace

std::string NumeroDaGrade(std::string_view aTexto) {
  const char decimal = FormatSettingsTela.DecimalSeparator, milhar = FormatSettingsTela.ThousandSeparator;
  std::string t = Trim(aTexto);
  auto recusar = [&]() -> std::string {
    std::string dica = std::string("use \"") + decimal + "\" para os decimais";
    if (milhar != decimal) dica += std::string(" e \"") + milhar + "\" só entre grupos de três dígitos";
    throw EConvertError("\"" + Resumir(t) + "\" não é um número (" + dica + ")");
  };
  std::string sinal;
  std::string_view s = t;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    if (s.front() == '-') sinal = "-";
    s.remove_prefix(1);
  }
  size_t ponto = s.find(decimal);
  std::string_view inteira = s.substr(0, ponto);
  std::string_view fracao = ponto == std::string_view::npos ? std::string_view{} : s.substr(ponto + 1);
  if (inteira.empty() && fracao.empty()) recusar();
  std::string digitos;
  size_t grupo = 0;
  bool agrupado = false;
  for (size_t i = 0; i < inteira.size(); ++i) {
    char c = inteira[i];
    if (c >= '0' && c <= '9') {
      digitos += c;
      ++grupo;
    } else if (c == milhar && milhar != decimal) {
      // the first group has one to three digits and no leading zero ("0.125" is no
      // thousand), every later one exactly three
      if (grupo == 0 || grupo > 3 || (agrupado && grupo != 3) || digitos[0] == '0') recusar();
      agrupado = true;
      grupo = 0;
    } else {
      recusar();
    }
  }
  if (agrupado && grupo != 3) recusar();
  for (char c : fracao)
    if (c < '0' || c > '9') recusar();
  if (digitos.empty()) digitos = "0";
  return sinal + digitos + (fracao.empty() ? "" : "." + std::string(fracao));
}

EGradeRecusa::EGradeRecusa(std::string aLinha, std::vector<std::string> aColunas, std::string aMotivo,
                           std::string aPrefixo)
    : Exception([&] {
        std::string colunas;
        for (const auto& c : aColunas) colunas += (colunas.empty() ? "\"" : ", \"") + c + "\"";
        std::string onde = aLinha;
        if (!aColunas.empty()) onde += (aColunas.size() == 1 ? ", coluna " : ", colunas ") + colunas;
        return aPrefixo + onde + ": " + aMotivo;
      }()),
      FLinha(std::move(aLinha)),
      FColunas(std::move(aColunas)),
      FMotivo(std::move(aMotivo)) {}

TGradeDados::TGradeDados(TClientDataSet& aDataSet, std::string aNome)
    : FDataSet(aDataSet), FNome(aNome.empty() ? aDataSet.Name : std::move(aNome)) {}

std::string TGradeDados::Titulo() const { return FDataSet.DisplayCaption.empty() ? FNome : FDataSet.DisplayCaption; }

std::string TGradeDados::TituloColuna(const TField& aCampo) {
  return Trim(aCampo.DisplayLabel).empty() ? aCampo.FieldName() : aCampo.DisplayLabel;
}

std::vector<TField*> TGradeDados::Colunas() const {
  std::vector<TField*> r;
  for (int i = 0; i < FDataSet.FieldCount(); ++i)
    if (FDataSet.Fields(i).Visible) r.push_back(&FDataSet.Fields(i));
  return r;
}

std::vector<TField*> TGradeDados::ColunasCSV() const {
  std::vector<TField*> r;
  for (TField* f : Chave())
    if (!f->Visible) r.push_back(f);
  for (TField* f : Colunas()) r.push_back(f);
  return r;
}

std::string TGradeDados::CabecalhoCSV(const TField& aCampo) const {
  std::string titulo = TituloColuna(aCampo);
  int iguais = 0;
  for (TField* f : ColunasCSV())
    if (SameText(TituloColuna(*f), titulo)) ++iguais;
  return iguais > 1 ? titulo + " [" + aCampo.FieldName() + "]" : titulo;
}

TField* TGradeDados::Coluna(std::string_view aNome) const {
  std::string nome = Trim(aNome);
  auto colunas = ColunasCSV();
  for (TField* f : colunas)
    if (SameText(f->FieldName(), nome)) return f;
  for (TField* f : colunas)
    if (CabecalhoCSV(*f) == nome || TituloColuna(*f) == nome) return f;
  for (TField* f : colunas)
    if (SameText(CabecalhoCSV(*f), nome) || SameText(TituloColuna(*f), nome)) return f;
  return nullptr;
}

std::string TGradeDados::ListaColunas() const {
  std::vector<std::string> nomes;
  for (TField* f : ColunasCSV())
    nomes.push_back(f->FieldName() + (TituloColuna(*f) == f->FieldName() ? "" : " \"" + TituloColuna(*f) + "\""));
  return Juntar(nomes, ", ");
}

TField& TGradeDados::ColunaPorNome(std::string_view aNome) const {
  TField* f = Coluna(aNome);
  if (!f) throw EGrade("Coluna desconhecida na grade " + Titulo() + ": \"" + Resumir(aNome) + "\". Colunas: " + ListaColunas());
  if (!SameText(f->FieldName(), Trim(aNome))) {
    std::vector<std::string> mesmas;
    for (TField* g : ColunasCSV())
      if (SameText(TituloColuna(*g), Trim(aNome))) mesmas.push_back(g->FieldName());
    if (mesmas.size() > 1)
      throw EGrade("O título \"" + Trim(aNome) + "\" é de mais de uma coluna da grade " + Titulo() +
                   ": use o nome do campo (" + Juntar(mesmas, ", ") + ")");
  }
  return *f;
}

TField* TGradeDados::Marca() const {
  return FDataSet.CampoMarca.empty() ? nullptr : FDataSet.FindField(FDataSet.CampoMarca);
}

std::vector<TField*> TGradeDados::Chave() const {
  std::vector<TField*> r;
  if (!Trim(FDataSet.CamposChave).empty()) {
    TStringList nomes;
    nomes.SetDelimitedText(FDataSet.CamposChave, ';');
    for (const auto& n : nomes) {
      if (Trim(n).empty()) continue;
      TField* f = FDataSet.FindField(Trim(n));
      if (!f) throw EInternalError("CamposChave de " + FNome + " nomeia o campo " + Trim(n) + ", que não existe");
      r.push_back(f);
    }
    return r;
  }
  TField* marca = Marca();
  for (TField* f : Colunas())
    if (f != marca && !Editavel(*f)) r.push_back(f);
  return r;
}

bool TGradeDados::Editavel(const TField& aCampo) const { return !aCampo.ReadOnly && !aCampo.IsLookup(); }

bool TGradeDados::Marcada() const {
  TField* m = Marca();
  return m && ValorMarcado(*m);
}

bool TGradeDados::Destacada() const {
  TField* e = FDataSet.CampoEstilo.empty() ? nullptr : FDataSet.FindField(FDataSet.CampoEstilo);
  return e && ValorMarcado(*e);
}

std::string TGradeDados::Texto(const TField& aCampo) const {
  if (&aCampo == Marca()) return ValorMarcado(aCampo) ? "✓" : "";
  if (aCampo.IsNull()) return "";
  if (!aCampo.ValueList.empty()) {
    for (const auto& [titulo, valor] : ItensLista(aCampo.ValueList))
      if (ValorIgual(aCampo, valor)) return titulo;
  }
  const std::string& formato = aCampo.DisplayFormat;
  switch (aCampo.DataType()) {
    case TFieldType::ftDate: return FormatDateTime(formato.empty() ? "dd/mm/yyyy" : formato, aCampo.AsDateTime());
    case TFieldType::ftDateTime: return formato.empty() ? aCampo.AsString() : FormatDateTime(formato, aCampo.AsDateTime());
    case TFieldType::ftCurrency: return FormatFloat(formato.empty() ? "#,##0.00" : formato, aCampo.AsCurrency(), FormatSettingsTela);
    case TFieldType::ftFloat: return formato.empty() ? FloatToStr(aCampo.AsFloat(), FormatSettingsTela)
                                   : FormatFloat(formato, aCampo.AsFloat(), FormatSettingsTela);
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint:
      return formato.empty() ? aCampo.AsString()
                             : FormatFloat(formato, static_cast<double>(aCampo.AsLargeInt()), FormatSettingsTela);
    case TFieldType::ftBoolean: return aCampo.AsBoolean() ? "Sim" : "Não";
    default: return aCampo.AsString();
  }
}

std::string TGradeDados::TextoCSV(const TField& aCampo) const {
  if (&aCampo == Marca()) return ValorMarcado(aCampo) ? "1" : "0";
  return Texto(aCampo);
}

std::string TGradeDados::DescricaoLinha() const {
  std::string r = "Linha " + std::to_string(FDataSet.RecNo());
  std::vector<std::string> partes;
  for (TField* f : Chave()) {
    if (partes.size() == 3) break;
    partes.push_back(TituloColuna(*f) + " = " + Resumir(Texto(*f)));
  }
  if (!partes.empty()) r += " (" + Juntar(partes, "; ") + ")";
  return r;
}

std::vector<TClientDataSet::TBookmark> TGradeDados::Linhas(std::string_view aExpressao) {
  if (!FDataSet.Active()) throw EGrade("A grade " + Titulo() + " não foi carregada.");
  bool todas = Trim(aExpressao).empty();
  std::unordered_set<TClientDataSet::TBookmark> aceitas;
  if (!todas) {
    // A clone evaluates the expression over the same rows, leaving the grid's own filter alone.
    auto clone = CloneCDS(FDataSet);
    try {
      clone->SetFilter(aExpressao);
    } catch (const EDatabaseError& e) {
      std::vector<std::string> campos;
      for (int i = 0; i < clone->FieldCount(); ++i) campos.push_back(clone->Fields(i).FieldName());
      // The cells take "1.234,5", an expression does not: say so to whoever typed the cell's form.
      std::string dica = VirgulaDecimal(aExpressao) ? " Nas expressões, os números usam ponto decimal e nada entre os "
                                                      "milhares: VALOR > 1234.5."
                                                    : "";
      throw EGrade(std::string(e.what()) + "." + dica + " Campos da grade " + Titulo() + ": " + Juntar(campos, ", "));
    }
    clone->SetFiltered(true);
    for (clone->First(); !clone->Eof(); clone->Next()) aceitas.insert(clone->GetBookmark());
  }
  std::vector<TClientDataSet::TBookmark> r;
  TClientDataSet::TBookmark aqui = FDataSet.GetBookmark();
  for (FDataSet.First(); !FDataSet.Eof(); FDataSet.Next())
    if (todas || aceitas.count(FDataSet.GetBookmark())) r.push_back(FDataSet.GetBookmark());
  if (aqui >= 0) FDataSet.GotoBookmark(aqui);
  return r;
}

void TGradeDados::ParaCadaLinha(const std::function<void()>& aVisita) {
  if (!FDataSet.Active()) return;
  TClientDataSet::TBookmark aqui = FDataSet.GetBookmark();
  for (FDataSet.First(); !FDataSet.Eof(); FDataSet.Next()) aVisita();
  if (aqui >= 0) FDataSet.GotoBookmark(aqui);
}

void TGradeDados::Percorrer(const std::vector<TClientDataSet::TBookmark>& aLinhas,
                            const std::function<void(TClientDataSet::TBookmark)>& aAcao) {
  std::unordered_set<TClientDataSet::TBookmark> pendentes(aLinhas.begin(), aLinhas.end());
  FDataSet.First();
  while (!pendentes.empty() && !FDataSet.Eof()) {
    TClientDataSet::TBookmark linha = FDataSet.GetBookmark();
    if (!pendentes.erase(linha)) {
      FDataSet.Next();
      continue;
    }
    int antes = FDataSet.RecNo();
    aAcao(linha);
    if (FDataSet.GetBookmark() == linha && FDataSet.RecNo() == antes) FDataSet.Next();
    else FDataSet.First();
  }
  if (!pendentes.empty())
    throw Exception("Uma linha da grade " + Titulo() + " deixou de aparecer nela depois de uma alteração anterior.");
}

void TGradeDados::GravarCelula(TField& aCampo, const std::string& aTexto) {
  if (!Editavel(aCampo)) throw Exception("a coluna não pode ser alterada.");
  std::string texto = aTexto;
  const TFieldType tipo = aCampo.DataType();
  if (&aCampo == Marca()) {
    auto m = LerMarca(texto);
    if (!m) throw Exception("\"" + Resumir(texto) + "\" não é uma marcação (use 1 ou 0).");
    texto = *m ? "1" : "0";
  } else if (!aCampo.ValueList.empty() && !Trim(texto).empty()) {
    auto itens = ItensLista(aCampo.ValueList);
    std::optional<std::string> valor;
    for (const auto& [titulo, v] : itens)
      if (!valor && SameText(Trim(titulo), Trim(texto))) valor = v;
    for (const auto& [titulo, v] : itens)
      if (!valor && Trim(v) == Trim(texto)) valor = v;
    if (!valor) {
      std::vector<std::string> titulos;
      for (const auto& [titulo, v] : itens) titulos.push_back(titulo == v ? titulo : titulo + " (" + v + ")");
      throw Exception("\"" + Resumir(texto) + "\" não é um valor da lista: " + Juntar(titulos, ", ") + ".");
    }
    texto = *valor;
  }

  if (Trim(texto).empty() && !IsTextType(tipo)) {
    if (aCampo.OnValidate) aCampo.OnValidate(aCampo, "");
    aCampo.Clear();
    return;
  }
  switch (tipo) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: {
      std::string n = NumeroDaGrade(texto);
      if (auto p = n.find('.'); p != std::string::npos) {
        if (n.find_first_not_of('0', p + 1) != std::string::npos)
          throw EConvertError("\"" + Resumir(texto) + "\" não é um número inteiro.");
        n.erase(p);
      }
      int64_t v;
      int64_t minimo = tipo == TFieldType::ftSmallint ? -32768 : tipo == TFieldType::ftInteger ? INT32_MIN : INT64_MIN;
      int64_t maximo = tipo == TFieldType::ftSmallint ? 32767 : tipo == TFieldType::ftInteger ? INT32_MAX : INT64_MAX;
      if (!TryStrToInt64(n, v) || v < minimo || v > maximo)
        throw EConvertError("\"" + Resumir(texto) + "\" está fora dos limites da coluna.");
      if (aCampo.OnValidate) aCampo.OnValidate(aCampo, std::to_string(v));
      aCampo.SetAsInteger(v);
      return;
    }
    case TFieldType::ftFloat: {
      std::string n = NumeroDaGrade(texto);
      double v;
      if (!TryStrToFloat(n, v) || !std::isfinite(v)) throw EConvertError("\"" + Resumir(texto) + "\" não é um número.");
      if (aCampo.OnValidate) aCampo.OnValidate(aCampo, n);
      aCampo.SetAsFloat(v);
      return;
    }
    case TFieldType::ftCurrency: {
      std::string n = NumeroDaGrade(texto);
      Currency v = Currency::FromString(n);
      if (aCampo.OnValidate) aCampo.OnValidate(aCampo, n);
      aCampo.SetAsCurrency(v);
      return;
    }
    case TFieldType::ftDate:
    case TFieldType::ftDateTime: {
      bool comHora = tipo == TFieldType::ftDateTime;
      auto d = LerData(texto, comHora);
      if (!d) throw EConvertError("\"" + Resumir(texto) + "\" não é uma data (use dd/mm/aaaa).");
      if (aCampo.OnValidate) aCampo.OnValidate(aCampo, FormatDateTime(comHora ? "dd/mm/yyyy hh:nn:ss" : "dd/mm/yyyy", *d));
      aCampo.SetAsDateTime(*d);
      return;
    }
    case TFieldType::ftBoolean: {
      auto b = LerBooleano(texto);
      if (!b) throw EConvertError("\"" + Resumir(texto) + "\" não é Sim nem Não.");
      if (aCampo.OnValidate) aCampo.OnValidate(aCampo, *b ? "1" : "0");
      aCampo.SetAsBoolean(*b);
      return;
    }
    default: {
      size_t tamanho = Utf8Length(texto);
      if (aCampo.Size() > 0 && tamanho > static_cast<size_t>(aCampo.Size()))
        throw Exception("o texto tem " + std::to_string(tamanho) + " caracteres e a coluna aceita até " +
                        std::to_string(aCampo.Size()) + ".");
      if (aCampo.OnValidate) aCampo.OnValidate(aCampo, texto);
      if (texto.empty()) aCampo.Clear();
      else aCampo.SetAsString(texto);
      return;
    }
  }
}

std::string TGradeDados::TextoComparavel(const TField& aCampo, const std::string& aTexto) const {
  std::string t = TrimDireita(aTexto);
  if (&aCampo == Marca() || !aCampo.ValueList.empty() || !IsNumberType(aCampo.DataType())) return t;
  try {
    return NumeroSemZeros(NumeroDaGrade(t));
  } catch (const EConvertError&) {
    return t;
  }
}

void TGradeDados::EditarLinha(const std::vector<std::pair<TField*, std::string>>& aCelulas) {
  if (aCelulas.empty()) return;
  std::vector<std::string> colunas;
  auto recusar = [&](const std::string& aMotivo) {
    FDataSet.Cancel();
    throw EGradeRecusa(DescricaoLinha(), colunas, aMotivo);
  };
  try {
    FDataSet.Edit();
    for (const auto& [campo, texto] : aCelulas) {
      colunas = {TituloColuna(*campo)};
      GravarCelula(*campo, texto);
    }
    colunas.clear();
    for (const auto& c : aCelulas) colunas.push_back(TituloColuna(*c.first));
    FDataSet.Post();
  } catch (const EInternalError&) {
    FDataSet.Cancel();
    throw;
  } catch (const EnCampoGrid& e) {
    // A row check that names its field.
    if (TField* f = FDataSet.FindField(e.Campo())) colunas = {TituloColuna(*f)};
    recusar(e.what());
  } catch (const Exception& e) {
    recusar(e.what());
  } catch (...) {
    FDataSet.Cancel();
    throw;
  }
}

int TGradeDados::Marcar(std::string_view aExpressao, bool aMarcar) {
  TField* marca = Marca();
  if (!marca) throw EGrade("A grade " + Titulo() + " não tem coluna de marcação.");
  int alteradas = 0;
  Percorrer(Linhas(aExpressao), [&](TClientDataSet::TBookmark) {
    if (Marcada() == aMarcar) return;
    EditarLinha({{marca, aMarcar ? "1" : "0"}});
    // A row whose own rules keep its tick (BeforePost) is not counted as changed.
    if (Marcada() == aMarcar) ++alteradas;
  });
  return alteradas;
}

int TGradeDados::Definir(std::string_view aExpressao, const std::vector<TAtribuicaoGrade>& aAtribuicoes) {
  std::vector<std::pair<TField*, std::string>> celulas;
  for (const auto& a : aAtribuicoes) {
    TField& f = ColunaPorNome(a.Coluna);
    for (const auto& c : celulas)
      if (c.first == &f) throw EGrade("A coluna \"" + TituloColuna(f) + "\" foi definida duas vezes.");
    celulas.emplace_back(&f, a.Texto);
  }
  auto linhas = Linhas(aExpressao);
  Percorrer(linhas, [&](TClientDataSet::TBookmark) { EditarLinha(celulas); });
  return static_cast<int>(linhas.size());
}

TGradeDados::TResultadoImportacao TGradeDados::Importar(const std::vector<std::vector<std::string>>& aLinhas,
                                                        const std::string& aOrigem) {
  if (aLinhas.empty() || aLinhas[0].empty()) throw EGrade("O arquivo " + aOrigem + " está vazio.");
  if (!FDataSet.Active()) throw EGrade("A grade " + Titulo() + " não foi carregada.");
  auto naLinha = [&](size_t i) { return "Linha " + std::to_string(i + 1) + " de " + aOrigem + ": "; };

  // The header: each caption names one column the CSV of the grid carries.
  std::vector<TField*> campos;
  for (std::string titulo : aLinhas[0]) {
    if (titulo.rfind("\xEF\xBB\xBF", 0) == 0 && campos.empty()) titulo.erase(0, 3);
    TField* f = Coluna(titulo);
    if (!f) throw EGrade(naLinha(0) + "coluna desconhecida \"" + Resumir(titulo) + "\". Colunas da grade " + Titulo() + ": " + ListaColunas());
    for (TField* g : campos)
      if (g == f) throw EGrade(naLinha(0) + "a coluna \"" + TituloColuna(*f) + "\" aparece duas vezes.");
    campos.push_back(f);
  }
  std::vector<TField*> chave = Chave();
  if (chave.empty())
    throw EGrade("A grade " + Titulo() + " não tem colunas-chave nem colunas somente leitura que identifiquem suas linhas: não é possível importar.");
  std::vector<size_t> posChave;
  for (TField* k : chave) {
    size_t p = 0;
    while (p < campos.size() && campos[p] != k) ++p;
    if (p == campos.size()) throw EGrade(naLinha(0) + "falta a coluna-chave \"" + CabecalhoCSV(*k) + "\".");
    posChave.push_back(p);
  }

  // Every grid row by its key, as the CSV writes it.
  std::map<std::vector<std::string>, std::vector<TClientDataSet::TBookmark>> porChave;
  ParaCadaLinha([&] {
    std::vector<std::string> k;
    for (TField* f : chave) k.push_back(TextoComparavel(*f, TextoCSV(*f)));
    porChave[k].push_back(FDataSet.GetBookmark());
  });

  // Every line matched to one row before anything changes.
  std::map<TClientDataSet::TBookmark, size_t> linhaDoArquivo;
  for (size_t i = 1; i < aLinhas.size(); ++i) {
    const auto& celulas = aLinhas[i];
    bool vazia = true;
    for (const auto& c : celulas) vazia = vazia && Trim(c).empty();
    if (vazia) continue;
    if (celulas.size() != campos.size())
      throw EGrade(naLinha(i) + "tem " + std::to_string(celulas.size()) + " campos e o cabeçalho tem " +
                   std::to_string(campos.size()) + ".");
    std::vector<std::string> k;
    std::vector<std::string> descricao;
    for (size_t j = 0; j < chave.size(); ++j) {
      k.push_back(TextoComparavel(*chave[j], celulas[posChave[j]]));
      descricao.push_back(TituloColuna(*chave[j]) + " = " + Resumir(TrimDireita(celulas[posChave[j]])));
    }
    auto it = porChave.find(k);
    if (it == porChave.end()) throw EGrade(naLinha(i) + "nenhuma linha da grade tem " + Juntar(descricao, "; ") + ".");
    if (it->second.size() > 1)
      throw EGrade(naLinha(i) + "mais de uma linha da grade tem " + Juntar(descricao, "; ") + ".");
    auto [anterior, nova] = linhaDoArquivo.emplace(it->second[0], i);
    if (!nova)
      throw EGrade(naLinha(i) + "é a mesma linha da grade que a linha " + std::to_string(anterior->second + 1) + ".");
  }

  // The edits, row by row in grid order.
  TResultadoImportacao r;
  std::vector<TClientDataSet::TBookmark> linhas;
  for (const auto& [linha, i] : linhaDoArquivo) linhas.push_back(linha);
  Percorrer(linhas, [&](TClientDataSet::TBookmark linha) {
    size_t i = linhaDoArquivo.at(linha);
    std::vector<std::pair<TField*, std::string>> alteradas;
    for (size_t j = 0; j < campos.size(); ++j) {
      bool ehChave = false;
      for (size_t k : posChave) ehChave = ehChave || k == j;
      const std::string& texto = aLinhas[i][j];
      if (!ehChave && TextoComparavel(*campos[j], texto) != TextoComparavel(*campos[j], TextoCSV(*campos[j])))
        alteradas.emplace_back(campos[j], texto);
    }
    if (alteradas.empty()) return;
    try {
      EditarLinha(alteradas);
    } catch (const EGradeRecusa& e) {
      throw EGradeRecusa(e.Linha(), e.Colunas(), e.Motivo(), naLinha(i));
    }
    ++r.Linhas;
    r.Celulas += static_cast<int>(alteradas.size());
  });
  return r;
}

}  // namespace nFramework
