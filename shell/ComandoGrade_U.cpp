#include "ComandoGrade_U.h"

#include <filesystem>
#include <fstream>
#include <ostream>
#include <sstream>

#include "Classes_U.h"
#include "Dicionario_U.h"
#include "GradeTexto_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace {

constexpr std::uintmax_t kMaxArquivo = 64u << 20;

std::string ListaGrades(const std::vector<TGradeProcesso>& aGrades) {
  std::string r;
  for (const auto& g : aGrades) {
    r += (r.empty() ? "" : ", ") + g.Componente;
    if (g.Grade->Titulo() != g.Componente) r += " \"" + g.Grade->Titulo() + "\"";
  }
  return r;
}

TGradeDados& EscolherGrade(std::vector<TGradeProcesso>& aGrades, const std::string& aNome) {
  std::string nome = Trim(aNome);
  for (auto& g : aGrades)
    if (SameText(g.Componente, nome)) return *g.Grade;
  for (auto& g : aGrades)
    if (SameText(g.Grade->Titulo(), nome)) return *g.Grade;
  throw EGrade("Grade desconhecida: " + CitarValor(nome) + ". Grades: " + ListaGrades(aGrades));
}

const char* NomeOpcao(TPassoGrade::TTipo aTipo) {
  switch (aTipo) {
    case TPassoGrade::Grade: return "--grade";
    case TPassoGrade::Marcar: return "--marcar";
    case TPassoGrade::Desmarcar: return "--desmarcar";
    case TPassoGrade::Definir: return "--definir";
    case TPassoGrade::Importar: return "--importar";
  }
  return "";
}

// "todos" is every row.
std::string Expressao(const std::string& aTexto) { return SameText(Trim(aTexto), "todos") ? "" : aTexto; }

std::string DescricaoTipo(const TField& f) {
  switch (f.DataType()) {
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftLargeint: return "inteiro";
    case TFieldType::ftFloat: return "número";
    case TFieldType::ftCurrency: return "valor monetário";
    case TFieldType::ftDate: return "data (dd/mm/aaaa)";
    case TFieldType::ftDateTime: return "data e hora";
    case TFieldType::ftBoolean: return "Sim/Não";
    default: return f.Size() > 0 ? "texto(" + std::to_string(f.Size()) + ")" : "texto";
  }
}

}  // namespace

bool TOpcoesGrade::Altera() const {
  for (const auto& p : Passos)
    if (p.Tipo != TPassoGrade::Grade) return true;
  return false;
}

std::vector<TGradeProcesso> GradesDoProcesso(TnDMPowerParam& aProcesso) {
  std::vector<TGradeProcesso> r;
  for (const std::string& nome : aProcesso.DataSetsGrade()) {
    TClientDataSet* ds = aProcesso.FindComponent<TClientDataSet>(nome);
    if (!ds) throw EInternalError(std::string(aProcesso.ClassName()) + " mostra a grade " + nome + ", que não tem");
    r.push_back({nome, std::make_unique<TGradeDados>(*ds, nome)});
  }
  return r;
}

void ConferirOpcoesGrade(const TOpcoesGrade& aOpcoes, std::vector<TGradeProcesso>& aGrades, const std::string& aClasse) {
  if (aOpcoes.Formato != "tabela" && aOpcoes.Formato != "csv" && aOpcoes.Formato != "json")
    throw EGrade("--formato aceita tabela, csv ou json, e não \"" + CitarValor(aOpcoes.Formato) + "\".");
  if (aGrades.empty() && (aOpcoes.Mostrar || !aOpcoes.Passos.empty()))
    throw EGrade(aClasse + " não tem grades: --mostrar, --grade, --marcar, --desmarcar, --definir e --importar não se "
                           "aplicam a ele.");
  if (aOpcoes.Mostrar && !aOpcoes.MostrarGrade.empty()) EscolherGrade(aGrades, aOpcoes.MostrarGrade);
  if (aOpcoes.Mostrar && aOpcoes.MostrarGrade.empty() && aOpcoes.Formato == "csv" && aGrades.size() > 1)
    throw EGrade("Um CSV tem uma grade só: nomeie-a em --mostrar NOME (grades: " + ListaGrades(aGrades) + ").");
  bool escolhida = aGrades.size() == 1;
  for (const auto& p : aOpcoes.Passos) {
    if (p.Tipo == TPassoGrade::Grade) {
      EscolherGrade(aGrades, p.Texto);
      escolhida = true;
      continue;
    }
    if (!escolhida)
      throw EGrade(aClasse + " tem " + std::to_string(aGrades.size()) + " grades: escolha uma com --grade NOME antes de " +
                   NomeOpcao(p.Tipo) + " (grades: " + ListaGrades(aGrades) + ").");
    if (Trim(p.Texto).empty())
      throw EGrade(std::string(NomeOpcao(p.Tipo)) +
                   (p.Tipo == TPassoGrade::Importar ? " precisa do arquivo." : " precisa de uma expressão, ou todos."));
    if (p.Tipo == TPassoGrade::Definir && p.Atribuicoes.empty())
      throw EGrade("--definir precisa da expressão e de ao menos um CAMPO=valor: --definir \"" + CitarValor(p.Texto) +
                   "\" CAMPO=valor.");
    for (const auto& a : p.Atribuicoes) {
      auto igual = a.find('=');
      if (igual == std::string::npos || Trim(a.substr(0, igual)).empty())
        throw EGrade("Use CAMPO=valor em --definir, e não \"" + CitarValor(a) + "\".");
    }
  }
}

std::vector<std::vector<std::vector<std::string>>> LerImportacoes(const TOpcoesGrade& aOpcoes) {
  std::vector<std::vector<std::vector<std::string>>> r;
  for (const auto& p : aOpcoes.Passos) {
    if (p.Tipo != TPassoGrade::Importar) continue;
    std::filesystem::path caminho(p.Texto);
    const std::string nome = CitarCaminho(caminho);
    std::error_code erro;
    if (!std::filesystem::is_regular_file(caminho, erro)) throw EGrade("O arquivo " + nome + " não existe.");
    if (std::filesystem::file_size(caminho, erro) > kMaxArquivo) throw EGrade("O arquivo " + nome + " passa de 64 MiB.");
    std::ifstream in(caminho, std::ios::binary);
    std::stringstream texto;
    texto << in.rdbuf();
    if (!in || in.bad()) throw EGrade("Não foi possível ler o arquivo " + nome + ".");
    r.push_back(LerCSV(texto.str(), nome));
  }
  return r;
}

void AplicarPassosGrade(const TOpcoesGrade& aOpcoes, std::vector<TGradeProcesso>& aGrades,
                        const std::vector<std::vector<std::vector<std::string>>>& aImportacoes, std::ostream& aErr) {
  TGradeDados* grade = aGrades.size() == 1 ? aGrades[0].Grade.get() : nullptr;
  size_t importacao = 0;
  for (const auto& p : aOpcoes.Passos) {
    if (p.Tipo == TPassoGrade::Grade) {
      grade = &EscolherGrade(aGrades, p.Texto);
      continue;
    }
    if (!grade) throw EInternalError("passo de grade sem grade");
    const std::string titulo = grade->Titulo();
    switch (p.Tipo) {
      case TPassoGrade::Marcar:
      case TPassoGrade::Desmarcar: {
        bool marcar = p.Tipo == TPassoGrade::Marcar;
        std::string expressao = Expressao(p.Texto);
        size_t atendem = grade->Linhas(expressao).size();
        int alteradas = grade->Marcar(expressao, marcar);
        aErr << titulo << ": " << alteradas << " linha(s) " << (marcar ? "marcada(s)" : "desmarcada(s)");
        if (atendem == 0) aErr << " (nenhuma linha atende a \"" << CitarValor(p.Texto) << "\")";
        else if (static_cast<size_t>(alteradas) < atendem)
          aErr << " de " << atendem << " que atendem a \"" << CitarValor(p.Texto) << "\"";
        aErr << ".\n";
        break;
      }
      case TPassoGrade::Definir: {
        std::vector<TAtribuicaoGrade> atribuicoes;
        for (const auto& a : p.Atribuicoes) {
          auto igual = a.find('=');
          atribuicoes.push_back({Trim(a.substr(0, igual)), a.substr(igual + 1)});
        }
        int linhas = grade->Definir(Expressao(p.Texto), atribuicoes);
        if (linhas == 0)
          aErr << "Aviso: " << titulo << ": nenhuma linha atende a \"" << CitarValor(p.Texto)
               << "\"; --definir não alterou nada.\n";
        else
          aErr << titulo << ": " << linhas << " linha(s) alterada(s) por --definir.\n";
        break;
      }
      case TPassoGrade::Importar: {
        const std::string nome = CitarCaminho(p.Texto);
        auto r = grade->Importar(aImportacoes.at(importacao++), nome);
        aErr << titulo << ": " << r.Linhas << " linha(s) e " << r.Celulas << " célula(s) alterada(s) por --importar "
             << nome << ".\n";
        break;
      }
      case TPassoGrade::Grade: break;
    }
  }
}

void MostrarGrades(const TOpcoesGrade& aOpcoes, std::vector<TGradeProcesso>& aGrades, std::ostream& aOut) {
  std::vector<TGradeDados*> grades;
  if (!aOpcoes.MostrarGrade.empty()) grades.push_back(&EscolherGrade(aGrades, aOpcoes.MostrarGrade));
  else
    for (auto& g : aGrades) grades.push_back(g.Grade.get());
  if (aOpcoes.Formato == "json") {
    aOut << JSONGrades(grades);
  } else if (aOpcoes.Formato == "csv") {
    aOut << CSVGrade(*grades.at(0));
  } else {
    for (size_t i = 0; i < grades.size(); ++i) aOut << (i ? "\n" : "") << TabelaGrade(*grades[i], aOpcoes.Largura);
  }
}

void ImprimirColunasGrades(std::vector<TGradeProcesso>& aGrades, std::ostream& aOut) {
  if (aGrades.empty()) return;
  aOut << "Grades (--grade NOME, --mostrar NOME; colunas por campo ou título):\n";
  for (auto& g : aGrades) {
    TGradeDados& grade = *g.Grade;
    aOut << "  " << g.Componente;
    if (grade.Titulo() != g.Componente) aOut << "  \"" << grade.Titulo() << "\"";
    if (TField* m = grade.Marca()) aOut << "  marcação: " << m->FieldName();
    std::vector<TField*> chave = grade.Chave();
    if (!chave.empty()) {
      aOut << (Trim(grade.DataSet().CamposChave).empty() ? "  linhas identificadas por: " : "  chave: ");
      for (size_t i = 0; i < chave.size(); ++i) aOut << (i ? ", " : "") << chave[i]->FieldName();
    }
    aOut << '\n';
    for (TField* f : grade.ColunasCSV()) {
      aOut << "    " << f->FieldName() << "  \"" << TGradeDados::TituloColuna(*f) << "\"  "
           << (f == grade.Marca() ? "marcação (1 ou 0)" : DescricaoTipo(*f)) << "  "
           << (grade.Editavel(*f) ? "editável" : "somente leitura");
      if (!f->Visible) aOut << "  oculta";
      aOut << '\n';
      if (!f->ValueList.empty()) {
        aOut << "        lista:";
        for (const auto& [titulo, valor] : ItensLista(f->ValueList)) aOut << ' ' << titulo << '=' << valor << ';';
        aOut << '\n';
      }
      if (!f->DisplayFormat.empty()) aOut << "        formato: " << f->DisplayFormat << '\n';
    }
  }
}
