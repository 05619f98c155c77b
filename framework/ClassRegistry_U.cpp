#include "ClassRegistry_U.h"

#include <algorithm>
#include <map>

#include "Exceptions_U.h"

namespace nFramework {

namespace {

struct TClasse {
  std::string Nome;
  TnFabrica Fabrica;
  std::string Biblioteca;
  int Registros = 0;
};

struct TInstancia {
  std::string Classe;    // upper-case registered name
  std::string Contexto;  // upper-case; empty for CriarDMNovo
  bool Nova = false;     // created by CriarDMNovo
  TnDMPtr<> Objeto;
};

struct TRegistro {
  std::vector<TClasse> Classes;  // registration order
  std::vector<TInstancia> Instancias;
  std::string BibliotecaCarregando;
};

// Never freed: libraries may unregister from their finalizations during the program's exit.
TRegistro& Registro() {
  static TRegistro* registro = new TRegistro;
  return *registro;
}

TClasse* Encontrar(std::string_view aName) {
  auto& classes = Registro().Classes;
  auto it = std::find_if(classes.begin(), classes.end(), [&](const TClasse& c) { return SameText(c.Nome, aName); });
  if (it == classes.end() && !aName.empty() && aName.front() != 'T' && aName.front() != 't') {
    std::string comT = "T" + std::string(aName);
    it = std::find_if(classes.begin(), classes.end(), [&](const TClasse& c) { return SameText(c.Nome, comT); });
  }
  return it == classes.end() ? nullptr : &*it;
}

TClasse& EncontrarOuFalhar(std::string_view aName) {
  if (TClasse* c = Encontrar(aName)) return *c;
  throw Exception("Classe não registrada: " + std::string(aName));
}

// Destroys an instance outside the registry's list, so handlers that reach the registry
// (a process freeing a register it created) see a consistent list.
void Liberar(TnDMPtr<> aObjeto) { aObjeto.reset(); }

template <class Pred>
void LiberarSe(Pred aPred) {
  auto& inst = Registro().Instancias;
  std::vector<TnDMPtr<>> liberar;
  for (auto it = inst.begin(); it != inst.end();) {
    if (aPred(*it)) {
      liberar.push_back(std::move(it->Objeto));
      it = inst.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& p : liberar) Liberar(std::move(p));
}

}  // namespace

void nRegisterClass(std::string_view aName, TnFabrica aFabrica) {
  if (TClasse* c = Encontrar(aName); c && SameText(c->Nome, aName)) {
    ++c->Registros;
    return;
  }
  Registro().Classes.push_back(TClasse{std::string(aName), std::move(aFabrica), Registro().BibliotecaCarregando, 1});
}

void nUnRegisterClass(std::string_view aName) {
  auto& classes = Registro().Classes;
  auto it = std::find_if(classes.begin(), classes.end(), [&](const TClasse& c) { return SameText(c.Nome, aName); });
  if (it == classes.end() || --it->Registros > 0) return;
  std::string nome = UpperCase(it->Nome);
  classes.erase(it);
  // The class's code may leave with its library: its instances go first.
  LiberarSe([&](const TInstancia& i) { return i.Classe == nome; });
}

bool nClasseRegistrada(std::string_view aName) { return Encontrar(aName) != nullptr; }

std::string nNomeRegistrado(std::string_view aName) {
  TClasse* c = Encontrar(aName);
  return c ? c->Nome : std::string();
}

std::vector<std::string> nClassesRegistradas() {
  std::vector<std::string> r;
  for (const auto& c : Registro().Classes) r.push_back(c.Nome);
  return r;
}

std::string nBibliotecaDaClasse(std::string_view aName) {
  TClasse* c = Encontrar(aName);
  return c ? c->Biblioteca : std::string();
}

void nSetBibliotecaCarregando(std::string aBiblioteca) { Registro().BibliotecaCarregando = std::move(aBiblioteca); }

const std::string& nBibliotecaCarregando() { return Registro().BibliotecaCarregando; }

void nGerarPrincActions(TnActionList& aActionList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos) {
  std::vector<TnFabrica> fabricas;
  for (const auto& c : Registro().Classes) fabricas.push_back(c.Fabrica);
  for (const auto& f : fabricas) {
    std::unique_ptr<TnDataModule> obj = f();
    if (obj) obj->GerarPrincAction(aActionList, aOnExecute, aModulos);
  }
}

TnDMPtr<> nCriarInstancia(std::string_view aName, TnAction* aAction, std::string_view aContexto) {
  TClasse& c = EncontrarOuFalhar(aName);
  TnDMPtr<> obj(c.Fabrica().release());
  if (!obj) throw EInternalError("a fábrica de " + c.Nome + " não criou o objeto");
  obj->SetAction(aAction);
  obj->SetContexto(std::string(aContexto));
  obj->DataModuleCreate();
  return obj;
}

TnDataModule* CriarDM(std::string_view aName, TnAction* aAction, std::string_view aContexto) {
  TClasse& c = EncontrarOuFalhar(aName);
  std::string nome = UpperCase(c.Nome), contexto = UpperCase(aContexto);
  for (auto& i : Registro().Instancias)
    if (!i.Nova && i.Classe == nome && i.Contexto == contexto) return i.Objeto.get();
  auto obj = nCriarInstancia(c.Nome, aAction, aContexto);
  TnDataModule* p = obj.get();
  Registro().Instancias.push_back(TInstancia{nome, contexto, false, std::move(obj)});
  return p;
}

void DestruirDM(std::string_view aName, std::string_view aContexto) {
  std::string nome = UpperCase(nNomeRegistrado(aName).empty() ? std::string(aName) : nNomeRegistrado(aName));
  std::string contexto = UpperCase(aContexto);
  LiberarSe([&](const TInstancia& i) { return !i.Nova && i.Classe == nome && i.Contexto == contexto; });
}

TnDataModule* CriarDMNovo(std::string_view aName, TnAction* aAction) {
  TClasse& c = EncontrarOuFalhar(aName);
  auto obj = nCriarInstancia(c.Nome, aAction);
  TnDataModule* p = obj.get();
  Registro().Instancias.push_back(TInstancia{UpperCase(c.Nome), std::string(), true, std::move(obj)});
  return p;
}

void DestruirDMDefinitivo(TnDataModule*& ADM) {
  if (!ADM) return;
  TnDataModule* alvo = ADM;
  ADM = nullptr;
  LiberarSe([&](const TInstancia& i) { return i.Objeto.get() == alvo; });
}

void DestruirTodosDM() {
  // Freeing one instance may free others (a process and the registers it created).
  while (!Registro().Instancias.empty()) {
    TnDMPtr<> p = std::move(Registro().Instancias.back().Objeto);
    Registro().Instancias.pop_back();
    Liberar(std::move(p));
  }
}

size_t nInstanciasVivas() { return Registro().Instancias.size(); }

TnRegistroUnidade::TnRegistroUnidade(std::initializer_list<TnClasseDeclarada> aClasses) {
  for (const auto& c : aClasses) {
    nRegisterClass(c.Nome, c.Fabrica);
    FNomes.emplace_back(c.Nome);
  }
}

TnRegistroUnidade::~TnRegistroUnidade() {
  for (const auto& n : FNomes) nUnRegisterClass(n);
}

}  // namespace nFramework
