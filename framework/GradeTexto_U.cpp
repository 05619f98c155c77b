#include "GradeTexto_U.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "Classes_U.h"
#include "Dicionario_U.h"
#include "Encoding_U.h"
#include "FormatUtils_U.h"
#include "TextUtils_U.h"

namespace nFramework {

namespace {

constexpr size_t kMaxCSV = 64u << 20;
constexpr size_t kLarguraMinima = 10;

bool Numerica(const TField& f) {
  TFieldType t = f.DataType();
  return f.ValueList.empty() && (IsIntegerType(t) || t == TFieldType::ftFloat || t == TFieldType::ftCurrency);
}

std::string UmaLinha(std::string_view s) {
  std::string r(s);
  for (char& c : r)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return r;
}

std::string Ajustar(const std::string& aTexto, size_t aLargura, bool aDireita) {
  size_t n = Utf8Length(aTexto);
  if (n > aLargura) return aLargura == 0 ? "" : Utf8Left(aTexto, aLargura - 1) + "…";
  std::string espacos(aLargura - n, ' ');
  return aDireita ? espacos + aTexto : aTexto + espacos;
}

std::string SemEspacoFinal(std::string s) {
  while (!s.empty() && s.back() == ' ') s.pop_back();
  return s;
}

std::string CelulaCSV(const std::string& aTexto) {
  if (aTexto.find_first_of(";\"\r\n") == std::string::npos) return aTexto;
  std::string r = "\"";
  for (char c : aTexto) r += c == '"' ? std::string("\"\"") : std::string(1, c);
  return r + "\"";
}

nlohmann::ordered_json ValorBruto(const TField& f) {
  if (f.IsNull()) return nullptr;
  switch (f.DataType()) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: return f.AsLargeInt();
    case TFieldType::ftFloat: return f.AsFloat();
    case TFieldType::ftCurrency: return f.AsCurrency().ToString();
    case TFieldType::ftDate: return DateToISO(f.AsDateTime());
    case TFieldType::ftDateTime: return FormatDateTime("yyyy-mm-dd hh:nn:ss", f.AsDateTime());
    case TFieldType::ftBoolean: return f.AsBoolean();
    default: return f.AsString();
  }
}

}  // namespace

std::string TabelaGrade(TGradeDados& aGrade, int aLargura) {
  const size_t largura = static_cast<size_t>(std::max(aLargura, 30));
  std::vector<TField*> colunas = aGrade.Colunas();
  TClientDataSet& ds = aGrade.DataSet();
  std::string titulo = aGrade.Titulo();
  std::string r = titulo + (aGrade.Nome() != titulo && !aGrade.Nome().empty() ? " (" + aGrade.Nome() + ")" : "") + "\n";

  std::vector<std::vector<std::string>> celulas;
  int marcadas = 0;
  if (ds.Active()) {
    aGrade.ParaCadaLinha([&] {
      std::vector<std::string> l;
      for (TField* f : colunas) l.push_back(UmaLinha(aGrade.Texto(*f)));
      celulas.push_back(std::move(l));
      if (aGrade.Marcada()) ++marcadas;
    });
  }
  std::vector<std::string> titulos;
  std::vector<size_t> natural;
  for (size_t c = 0; c < colunas.size(); ++c) {
    titulos.push_back(UmaLinha(TGradeDados::TituloColuna(*colunas[c])));
    size_t w = std::max<size_t>(1, Utf8Length(titulos.back()));
    for (const auto& l : celulas) w = std::max(w, Utf8Length(l[c]));
    natural.push_back(w);
  }

  // The columns that fit at their narrowest, from the left; at least one.
  size_t mostradas = 0, soma = 0;
  while (mostradas < colunas.size()) {
    size_t minimo = std::min(natural[mostradas], kLarguraMinima);
    size_t novo = soma + minimo + (mostradas ? 3 : 0);
    if (novo > largura && mostradas > 0) break;
    soma = novo;
    ++mostradas;
  }
  std::vector<size_t> w(natural.begin(), natural.begin() + static_cast<std::ptrdiff_t>(mostradas));
  auto total = [&] {
    size_t t = mostradas ? 3 * (mostradas - 1) : 0;
    for (size_t x : w) t += x;
    return t;
  };
  // Narrow the widest column one character at a time until the line fits: first down to its
  // caption, then down to the least width.
  for (size_t passo = 0; passo < 2 && total() > largura; ++passo) {
    auto piso = [&](size_t c) {
      size_t p = std::min(natural[c], kLarguraMinima);
      return passo == 0 ? std::max(p, std::min(natural[c], Utf8Length(titulos[c]))) : p;
    };
    while (total() > largura) {
      size_t maior = w.size();
      for (size_t c = 0; c < w.size(); ++c)
        if (w[c] > piso(c) && (maior == w.size() || w[c] > w[maior])) maior = c;
      if (maior == w.size()) break;
      --w[maior];
    }
  }
  // A single column wider than the line is cut to it.
  if (w.size() == 1 && w[0] > largura) w[0] = largura;

  auto linha = [&](const std::vector<std::string>& textos) {
    // Empty cells at the end of the line are left off, separators too.
    size_t ate = mostradas;
    while (ate > 0 && textos[ate - 1].empty()) --ate;
    std::string s;
    for (size_t c = 0; c < ate; ++c) {
      if (c) s += " | ";
      s += Ajustar(textos[c], w[c], Numerica(*colunas[c]) && colunas[c] != aGrade.Marca());
    }
    return SemEspacoFinal(s) + "\n";
  };
  if (mostradas > 0) {
    r += linha(titulos);
    std::string traco;
    for (size_t c = 0; c < mostradas; ++c) traco += (c ? "-+-" : "") + std::string(w[c], '-');
    r += traco + "\n";
    for (const auto& l : celulas) r += linha(l);
  }
  r += std::to_string(celulas.size()) + " linha(s)";
  if (aGrade.Marca()) r += ", " + std::to_string(marcadas) + " marcada(s)";
  r += "\n";
  if (mostradas < colunas.size()) {
    // The note of the columns left out, broken into lines of the width between names.
    std::string nota = std::to_string(colunas.size() - mostradas) + " coluna(s) fora da largura:";
    for (size_t c = mostradas; c < colunas.size(); ++c) {
      std::string nome = " " + titulos[c] + (c + 1 < colunas.size() ? "," : "");
      size_t inicio = nota.rfind('\n') == std::string::npos ? 0 : nota.rfind('\n') + 1;
      if (Utf8Length(nota.substr(inicio)) + Utf8Length(nome) > largura) nota += "\n ";  // " " + " name"
      nota += nome;
    }
    r += nota + "\n";
  }
  return r;
}

std::string CSVGrade(TGradeDados& aGrade) {
  std::vector<TField*> colunas = aGrade.ColunasCSV();
  std::string r;
  for (size_t c = 0; c < colunas.size(); ++c) r += (c ? ";" : "") + CelulaCSV(aGrade.CabecalhoCSV(*colunas[c]));
  r += "\n";
  if (!aGrade.DataSet().Active()) return r;
  aGrade.ParaCadaLinha([&] {
    for (size_t c = 0; c < colunas.size(); ++c) r += (c ? ";" : "") + CelulaCSV(aGrade.TextoCSV(*colunas[c]));
    r += "\n";
  });
  return r;
}

std::string JSONGrades(const std::vector<TGradeDados*>& aGrades) {
  nlohmann::ordered_json todas = nlohmann::ordered_json::array();
  for (TGradeDados* g : aGrades) {
    TClientDataSet& ds = g->DataSet();
    std::vector<TField*> chave = g->Chave();
    nlohmann::ordered_json grade;
    grade["grade"] = g->Nome();
    grade["titulo"] = g->Titulo();
    nlohmann::ordered_json colunas = nlohmann::ordered_json::array();
    for (int i = 0; i < ds.FieldCount(); ++i) {
      TField& f = ds.Fields(i);
      nlohmann::ordered_json c;
      c["campo"] = f.FieldName();
      c["titulo"] = TGradeDados::TituloColuna(f);
      c["tipo"] = FieldTypeName(f.DataType());
      c["visivel"] = f.Visible;
      c["editavel"] = g->Editavel(f);
      c["chave"] = std::find(chave.begin(), chave.end(), &f) != chave.end();
      c["marca"] = &f == g->Marca();
      if (!f.ValueList.empty()) {
        nlohmann::ordered_json lista = nlohmann::ordered_json::array();
        for (const auto& [titulo, valor] : ItensLista(f.ValueList)) lista.push_back({{"titulo", titulo}, {"valor", valor}});
        c["lista"] = lista;
      }
      if (!f.DisplayFormat.empty()) c["formato"] = f.DisplayFormat;
      colunas.push_back(c);
    }
    grade["colunas"] = colunas;
    nlohmann::ordered_json linhas = nlohmann::ordered_json::array();
    if (ds.Active()) {
      g->ParaCadaLinha([&] {
        nlohmann::ordered_json valores, textos;
        for (int i = 0; i < ds.FieldCount(); ++i) {
          valores[ds.Fields(i).FieldName()] = ValorBruto(ds.Fields(i));
          textos[ds.Fields(i).FieldName()] = g->Texto(ds.Fields(i));
        }
        nlohmann::ordered_json l;
        l["valores"] = valores;
        l["textos"] = textos;
        if (g->Marca()) l["marcada"] = g->Marcada();
        if (!ds.CampoEstilo.empty()) l["destaque"] = g->Destacada();
        linhas.push_back(l);
      });
    }
    grade["linhas"] = linhas;
    todas.push_back(grade);
  }
  return todas.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

std::vector<std::vector<std::string>> LerCSV(std::string_view aTexto, const std::string& aOrigem) {
  if (aTexto.size() > kMaxCSV) throw EGrade("O arquivo " + aOrigem + " passa de 64 MiB.");
  if (aTexto.substr(0, 3) == "\xEF\xBB\xBF") aTexto.remove_prefix(3);
  std::vector<std::vector<std::string>> linhas;
  std::vector<std::string> atual;
  std::string celula;
  size_t numero = 1, inicioLinha = 0;
  auto fecharLinha = [&](size_t fim) {
    try {
      ValidarUtf8(aTexto.substr(inicioLinha, fim - inicioLinha), aOrigem + ", linha " + std::to_string(numero));
    } catch (const EFileError& e) {
      throw EGrade(std::string(e.what()) + ": salve o arquivo como CSV UTF-8.");
    }
    atual.push_back(std::move(celula));
    celula.clear();
    linhas.push_back(std::move(atual));
    atual.clear();
  };
  size_t i = 0;
  while (i < aTexto.size()) {
    char c = aTexto[i];
    if (c == '"' && celula.empty()) {
      size_t abertura = numero;
      ++i;
      while (true) {
        if (i >= aTexto.size())
          throw EGrade("Linha " + std::to_string(abertura) + " de " + aOrigem + ": aspas abertas e não fechadas.");
        if (aTexto[i] == '"') {
          if (i + 1 < aTexto.size() && aTexto[i + 1] == '"') {
            celula += '"';
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        if (aTexto[i] == '\n') ++numero;
        // A line break inside a cell is "\n", as the grid holds it, whatever the file's line ends.
        if (aTexto[i] == '\r' && i + 1 < aTexto.size() && aTexto[i + 1] == '\n') ++i;
        celula += aTexto[i++];
      }
      bool fimDeCelula = i >= aTexto.size() || aTexto[i] == ';' || aTexto[i] == '\n' ||
                         (aTexto[i] == '\r' && (i + 1 >= aTexto.size() || aTexto[i + 1] == '\n'));
      if (!fimDeCelula)
        throw EGrade("Linha " + std::to_string(numero) + " de " + aOrigem + ": texto depois das aspas que fecham uma célula.");
      continue;
    }
    if (c == ';') {
      atual.push_back(std::move(celula));
      celula.clear();
      ++i;
    } else if (c == '\n' || (c == '\r' && i + 1 < aTexto.size() && aTexto[i + 1] == '\n')) {
      size_t fim = i;
      i += c == '\r' ? 2 : 1;
      fecharLinha(fim);
      ++numero;
      inicioLinha = i;
    } else {
      celula += c;
      ++i;
    }
  }
  if (!celula.empty() || !atual.empty() || inicioLinha < aTexto.size()) fecharLinha(aTexto.size());
  return linhas;
}

}  // namespace nFramework
