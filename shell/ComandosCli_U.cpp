#include "ComandosCli_U.h"

#include <algorithm>
#include <map>
#include <ostream>

#include "ClassRegistry_U.h"
#include "ComandoGrade_U.h"
#include "Classes_U.h"
#include "Contexto_U.h"
#include "MenuPrincipal_U.h"
#include "ControleMensagem_U.h"
#include "PowerParam_U.h"
#include "PowerParamCxGridConfigBase_U.h"
#include "ServicosTerminal_U.h"
#include "TextoMensagem_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace {

TnPerModulos TodosModulos() {
  TnPerModulos m;
  for (int i = 0; i <= TnPerModulos::MaxModulo; ++i) m.Incluir(i);
  return m;
}

std::shared_ptr<TnActionList> Acoes(const TnPerModulos& aModulos) {
  auto lista = std::make_shared<TnActionList>();
  nGerarPrincActions(*lista, TNotifyEvent(), aModulos);
  return lista;
}

size_t Distancia(const std::string& a, const std::string& b) {
  std::string x = UpperCase(a), y = UpperCase(b);
  std::vector<size_t> ant(y.size() + 1), cur(y.size() + 1);
  for (size_t j = 0; j <= y.size(); ++j) ant[j] = j;
  for (size_t i = 1; i <= x.size(); ++i) {
    cur[0] = i;
    for (size_t j = 1; j <= y.size(); ++j)
      cur[j] = std::min({ant[j] + 1, cur[j - 1] + 1, ant[j - 1] + (x[i - 1] == y[j - 1] ? 0 : 1)});
    std::swap(ant, cur);
  }
  return ant[y.size()];
}

void ImprimirMenu(const TnNoMenu& aNo, int aNivel, std::ostream& aOut) {
  std::string recuo(static_cast<size_t>(aNivel) * 2, ' ');
  for (const TnAction* a : aNo.Acoes) {
    aOut << recuo << a->Ordem << "  " << a->Caption << "  (" << a->Name << ')';
    if (!a->VerificaSelecao.empty()) aOut << "  seleção: " << a->VerificaSelecao;
    if (!a->ClasseContainer.empty()) aOut << "  em " << a->ClasseContainer;
    aOut << '\n';
  }
  for (const auto& filho : aNo.Filhos) {
    aOut << recuo << filho.Nome << '\n';
    ImprimirMenu(filho, aNivel + 1, aOut);
  }
}

std::string DescricaoControle(const TnParamItem& aItem) {
  switch (aItem.Controle()) {
    case TnControle::Data: return "data (dd/mm/aaaa)";
    case TnControle::DataMesAno: return "competência (mm/aaaa)";
    case TnControle::Inteiro: return "inteiro";
    case TnControle::Numerico: return "número";
    case TnControle::Diretorio: return "pasta";
    case TnControle::Senha: return "senha";
    case TnControle::Combo: return "escolha";
    case TnControle::Selecionado: return "marca (0/1)";
    default: return "texto";
  }
}

void ImprimirMensagens(const TnDMPowerParam& aProcesso, std::ostream& aOut) {
  for (const ITreeMessager* t : nArvoresDaExecucao(aProcesso)) ImprimirArvore(*t, aOut);
}

TnDMPtr<TnDMPowerParam> CriarProcesso(const TAlvo& aAlvo) {
  TnDMPtr<TnDMPowerParam> p = nComoClasse<TnDMPowerParam>(nCriarInstancia(aAlvo.Classe, aAlvo.Acao));
  if (!p) throw EUso(aAlvo.Classe + " não é um processo com painel de parâmetros (para um cadastro use: ulmo register " +
                     aAlvo.Classe + " list)");
  return p;
}

}  // namespace

std::vector<std::string> NomesProximos(const std::string& aTexto) {
  std::vector<std::string> nomes = nClassesRegistradas();
  auto lista = Acoes(TodosModulos());
  for (const auto& a : *lista) {
    nomes.push_back(a->Name);
    nomes.push_back(a->Caption);
  }
  std::sort(nomes.begin(), nomes.end());
  nomes.erase(std::unique(nomes.begin(), nomes.end()), nomes.end());
  std::stable_sort(nomes.begin(), nomes.end(), [&](const std::string& a, const std::string& b) {
    return Distancia(aTexto, a) < Distancia(aTexto, b);
  });
  if (nomes.size() > 3) nomes.resize(3);
  return nomes;
}

TAlvo ResolverAlvo(const std::string& aAcao, const TnPerModulos& aModulos) {
  TAlvo alvo;
  std::string classe = nNomeRegistrado(aAcao);
  if (classe.empty() && aAcao.size() > 3 && SameText(aAcao.substr(0, 3), "act")) classe = nNomeRegistrado(aAcao.substr(3));
  for (const TnPerModulos& modulos : {aModulos, TodosModulos()}) {
    alvo.Acoes = Acoes(modulos);
    if (!classe.empty()) {
      alvo.Classe = classe;
      alvo.Acao = alvo.Acoes->FindAction("act" + classe);
      return alvo;
    }
    std::vector<TnAction*> candidatos;
    for (const auto& a : *alvo.Acoes)
      if (SameText(a->Caption, aAcao)) candidatos.push_back(a.get());
    if (candidatos.size() == 1) {
      alvo.Acao = candidatos[0];
      alvo.Classe = nNomeRegistrado(alvo.Acao->Name.substr(3));
      return alvo;
    }
    if (candidatos.size() > 1) {
      std::string lista;
      for (TnAction* a : candidatos) lista += "\n  " + a->Name + "  (" + a->Category + ")";
      throw EUso("A ação \"" + aAcao + "\" é ambígua; use o nome de uma destas:" + lista);
    }
  }
  std::string proximos;
  for (const auto& n : NomesProximos(aAcao)) proximos += (proximos.empty() ? "" : ", ") + n;
  throw EUso("Ação desconhecida: " + aAcao + (proximos.empty() ? "" : ". Nomes próximos: " + proximos));
}

int ComandoMenu(TnFrmMenuBrivo& aMenu, const TnPerModulos& aModulos, std::ostream& aOut) {
  aMenu.Configurar();
  aOut << Application().Title << '\n' << aMenu.Caption << '\n';
  aOut << "Módulos: " << aModulos.Texto() << "\n\n";
  aOut << "Barra de status (largura " << aMenu.nStatusBar.Width() << "):\n";
  for (int i = 0; i < aMenu.nStatusBar.PanelCount(); ++i)
    aOut << "  [" << i << "] " << aMenu.nStatusBar.Panels(i).Width << "  " << aMenu.nStatusBar.Panels(i).Text << '\n';
  aOut << "\nBarra de ferramentas:\n";
  int n = 0;
  for (const auto& b : aMenu.ToolBar)
    aOut << "  " << ++n << ". " << b.Caption << "  (" << b.Classe << ") - " << b.Descricao << '\n';
  aOut << "\nAções do menu principal:\n";
  for (const auto& a : aMenu.nActionList) aOut << "  " << a->Caption << "  (" << a->Name << ") - " << a->Hint << '\n';
  TnActionList lista;
  nGerarPrincActions(lista, TNotifyEvent(), aModulos);
  aOut << "\nMenu (" << lista.Count() << " ações):\n";
  ImprimirMenu(nMontarMenu(lista), 1, aOut);
  return csSucesso;
}

int ComandoParams(const std::string& aAcao, const TnPerModulos& aModulos, std::ostream& aOut, std::ostream&) {
  TAlvo alvo = ResolverAlvo(aAcao, aModulos);
  TnDMPtr<TnDMPowerParam> p = CriarProcesso(alvo);
  aOut << (p->Caption().empty() ? alvo.Classe : p->Caption()) << "  (" << alvo.Classe << ")\n";
  if (std::string sel = p->PegarVerificaSelecao(); !sel.empty()) aOut << "Seleção exigida: " << sel << '\n';
  aOut << "Parâmetros:\n";
  for (const auto& item : p->npqPowerParam.Itens()) {
    const TnParamDef& d = item->Def();
    if (!d.Separador.empty()) aOut << "  -- " << d.Separador << " --\n";
    aOut << "  " << d.Alias << "  \"" << item->Caption() << "\"  " << DescricaoControle(*item);
    if (d.Obrigatorio && d.ExpressaoObrigatorio.empty()) aOut << "  obrigatório";
    if (!d.ExpressaoObrigatorio.empty()) aOut << "  obrigatório quando " << d.ExpressaoObrigatorio;
    if (!d.ExpressaoHabilitado.empty()) aOut << "  habilitado quando " << d.ExpressaoHabilitado;
    if (!d.Visivel) aOut << "  oculto";
    if (!d.Padrao.empty()) aOut << "  padrão " << d.Padrao;
    if (d.MultiplosValores) aOut << "  vários valores";
    if (std::string lk = item->ClasseLookup(); !lk.empty()) aOut << "  consulta " << lk;
    aOut << '\n';
    auto escolhas = item->Escolhas();
    if (!escolhas.empty()) {
      aOut << "      escolhas:";
      for (const auto& [c, v] : escolhas) aOut << ' ' << c << '=' << v << ';';
      aOut << '\n';
    }
    if (!d.Hint.empty()) aOut << "      " << d.Hint << '\n';
  }
  auto acoes = p->npqPowerParam.Acoes();
  if (!acoes.empty()) {
    aOut << "Ações do painel (--acao NOME):\n";
    for (TnAction* a : acoes) aOut << "  " << a->Name << "  \"" << a->Caption << "\"\n";
  }
  // The grids as a run shows them: configured as the screen is, before a load. A process
  // whose configuration needs what params does not open still shows its panel.
  try {
    p->AntesConfigurar(nullptr);
    p->DepoisConfigurar(nullptr);
    if (auto* g = dynamic_cast<TnDMPowerParamCxGridConfigBase*>(p.get())) g->ConfigSobDemanda();
  } catch (const EInternalError&) {
    throw;
  } catch (const Exception& e) {
    aOut << "Grades: não foi possível configurá-las sem executar o processo (" << e.what() << ")\n";
    return csSucesso;
  }
  auto grades = GradesDoProcesso(*p);
  ImprimirColunasGrades(grades, aOut);
  return csSucesso;
}

int ComandoRun(const std::string& aAcao, const std::vector<std::string>& aAtribuicoes,
               const std::vector<std::string>& aAcoesPainel, const TOpcoesGrade& aGrade, const TnPerModulos& aModulos,
               std::ostream& aOut, std::ostream& aErr) {
  TAlvo alvo = ResolverAlvo(aAcao, aModulos);
  TnDMPtr<TnDMPowerParam> p = CriarProcesso(alvo);
  std::vector<std::string> faltam = SelecaoFaltante(p->PegarVerificaSelecao());
  if (!faltam.empty()) {
    std::string lista;
    for (const auto& f : faltam) lista += (lista.empty() ? "" : ", ") + f;
    throw EUso(alvo.Classe + " exige a seleção de " + lista + " (use --sistema N e/ou --empresa N)");
  }
  // The screen is configured before the user fills it.
  p->AntesConfigurar(nullptr);
  p->DepoisConfigurar(nullptr);
  for (const auto& atr : aAtribuicoes) {
    auto igual = atr.find('=');
    if (igual == std::string::npos || igual == 0) throw EUso("Use alias=valor, e não \"" + atr + "\"");
    std::string alias = Trim(atr.substr(0, igual));
    TnParamItem* item = p->npqPowerParam.FindParam(alias);
    if (!item) {
      std::string aliases;
      for (const auto& i : p->npqPowerParam.Itens()) aliases += (aliases.empty() ? "" : ", ") + i->Alias();
      throw EUso("Parâmetro desconhecido: " + alias + ". Parâmetros de " + alvo.Classe + ": " + aliases);
    }
    item->SetValue(p->npqPowerParam.NormalizarValor(*item, atr.substr(igual + 1)));
  }
  for (const auto& nome : aAcoesPainel)
    if (!p->npqPowerParam.FindAction(nome)) throw EUso("Ação de painel desconhecida: " + nome);
  // The grid options are checked, and the files to import read, before anything runs.
  std::vector<TGradeProcesso> grades;
  std::vector<std::vector<std::vector<std::string>>> importacoes;
  try {
    grades = GradesDoProcesso(*p);
    ConferirOpcoesGrade(aGrade, grades, alvo.Classe);
    importacoes = LerImportacoes(aGrade);
  } catch (const EGrade& e) {
    throw EUso(e.what());
  }
  // A CSV or JSON on stdout stays clean: the run's messages go to stderr then.
  std::ostream& mensagens = aGrade.Mostrar && aGrade.Formato != "tabela" ? aErr : aOut;
  const std::string nadaGravado = "Nada foi gravado: nenhuma ação foi executada.\n";

  nPrepararMensagensExecucao();
  try {
    nExecutarProcesso(*p);
    if ((aGrade.Altera() || !aAcoesPainel.empty()) && nExecucaoFalhou(*p)) {
      ImprimirMensagens(*p, mensagens);
      aErr << "A execução terminou com erro: as opções de grade e as ações não foram aplicadas.\n";
      return csFalha;
    }
    AplicarPassosGrade(aGrade, grades, importacoes, aErr);
    for (const auto& nome : aAcoesPainel) p->ExecutarAcao(nome);
  } catch (const EnParam& e) {
    ImprimirMensagens(*p, mensagens);
    aErr << "Parâmetro \"" << e.Caption() << "\" (" << e.Alias() << "): " << e.what() << '\n';
    return csParametro;
  } catch (const EGradeRecusa& e) {
    ImprimirMensagens(*p, mensagens);
    aErr << "Erro: " << e.what() << '\n' << nadaGravado;
    return csFalha;
  } catch (const EGrade& e) {
    ImprimirMensagens(*p, mensagens);
    aErr << e.what() << '\n' << nadaGravado;
    return csParametro;
  } catch (const std::exception& e) {
    ImprimirMensagens(*p, mensagens);
    aErr << "Erro: " << MensagemDeErro(e) << '\n';
    return csFalha;
  }
  ImprimirMensagens(*p, mensagens);
  int codigo = nExecucaoFalhou(*p) ? csFalha : csSucesso;
  ControleMensagem().SetFraListaMensagemTree(nullptr);
  if (aGrade.Mostrar) MostrarGrades(aGrade, grades, aOut);
  if (aGrade.Altera() && aAcoesPainel.empty()) {
    std::string acoes;
    for (TnAction* a : p->npqPowerParam.Acoes()) acoes += (acoes.empty() ? "" : ", ") + a->Name;
    aErr << "Nada foi gravado: as marcações e alterações da grade valem só para esta execução"
         << (acoes.empty() ? ".\n" : "; para gravá-las, use --acao (ações do painel: " + acoes + ").\n");
  }
  return codigo;
}

int ComandoClasses(std::ostream& aOut) {
  for (const auto& c : nClassesRegistradas()) {
    std::string lib = nBibliotecaDaClasse(c);
    aOut << c << (lib.empty() ? "" : "  [" + lib + "]") << '\n';
  }
  return csSucesso;
}

int ComandoSobre(std::ostream& aOut) {
  aOut << Application().Title << '\n';
  for (const auto& i : Application().ItensSplash) aOut << "  " << i << '\n';
  return csSucesso;
}
