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
  std::unique_ptr<TnDataModule> Objeto;
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

TClasse* Encontrar(std::string_view AName) {
  auto& classes = Registro().Classes;
  auto it = std::find_if(classes.begin(), classes.end(), [&](const TClasse& c) { return SameText(c.Nome, AName); });
  if (it == classes.end() && !AName.empty() && AName.front() != 'T' && AName.front() != 't') {
    std::string comT = "T" + std::string(AName);
    it = std::find_if(classes.begin(), classes.end(), [&](const TClasse& c) { return SameText(c.Nome, comT); });
  }
  return it == classes.end() ? nullptr : &*it;
}

TClasse& EncontrarOuFalhar(std::string_view AName) {
  if (TClasse* c = Encontrar(AName)) return *c;
  throw Exception("Classe não registrada: " + std::string(AName));
}

// Destroys an instance outside the registry's list, so handlers that reach the registry
// (a process freeing a register it created) see a consistent list.
void Liberar(std::unique_ptr<TnDataModule> AObjeto) {
  if (!AObjeto) return;
  AObjeto->DataModuleDestroy();
  AObjeto.reset();
}

template <class Pred>
void LiberarSe(Pred APred) {
  auto& inst = Registro().Instancias;
  std::vector<std::unique_ptr<TnDataModule>> liberar;
  for (auto it = inst.begin(); it != inst.end();) {
    if (APred(*it)) {
      liberar.push_back(std::move(it->Objeto));
      it = inst.erase(it);
    } else {
      ++it;
    }
  }
  for (auto& p : liberar) Liberar(std::move(p));
}

}  // namespace

void nRegisterClass(std::string_view AName, TnFabrica AFabrica) {
  if (TClasse* c = Encontrar(AName); c && SameText(c->Nome, AName)) {
    ++c->Registros;
    return;
  }
  Registro().Classes.push_back(TClasse{std::string(AName), std::move(AFabrica), Registro().BibliotecaCarregando, 1});
}

void nUnRegisterClass(std::string_view AName) {
  auto& classes = Registro().Classes;
  auto it = std::find_if(classes.begin(), classes.end(), [&](const TClasse& c) { return SameText(c.Nome, AName); });
  if (it == classes.end() || --it->Registros > 0) return;
  std::string nome = UpperCase(it->Nome);
  classes.erase(it);
  // The class's code may leave with its library: its instances go first.
  LiberarSe([&](const TInstancia& i) { return i.Classe == nome; });
}

bool nClasseRegistrada(std::string_view AName) { return Encontrar(AName) != nullptr; }

std::string nNomeRegistrado(std::string_view AName) {
  TClasse* c = Encontrar(AName);
  return c ? c->Nome : std::string();
}

std::vector<std::string> nClassesRegistradas() {
  std::vector<std::string> r;
  for (const auto& c : Registro().Classes) r.push_back(c.Nome);
  return r;
}

std::string nBibliotecaDaClasse(std::string_view AName) {
  TClasse* c = Encontrar(AName);
  return c ? c->Biblioteca : std::string();
}

void nSetBibliotecaCarregando(std::string ABiblioteca) { Registro().BibliotecaCarregando = std::move(ABiblioteca); }

const std::string& nBibliotecaCarregando() { return Registro().BibliotecaCarregando; }

void nGerarPrincActions(TnActionList& AActionList, TNotifyEvent AOnExecute, const TnPerModulos& AModulos) {
  std::vector<TnFabrica> fabricas;
  for (const auto& c : Registro().Classes) fabricas.push_back(c.Fabrica);
  for (const auto& f : fabricas) {
    std::unique_ptr<TnDataModule> obj = f();
    if (obj) obj->GerarPrincAction(AActionList, AOnExecute, AModulos);
  }
}

std::unique_ptr<TnDataModule> nCriarInstancia(std::string_view AName, TnAction* AAction, std::string_view AContexto) {
  TClasse& c = EncontrarOuFalhar(AName);
  std::unique_ptr<TnDataModule> obj = c.Fabrica();
  if (!obj) throw EInternalError("a fábrica de " + c.Nome + " não criou o objeto");
  obj->SetAction(AAction);
  obj->SetContexto(std::string(AContexto));
  obj->DataModuleCreate();
  return obj;
}

TnDataModule* CriarDM(std::string_view AName, TnAction* AAction, std::string_view AContexto) {
  TClasse& c = EncontrarOuFalhar(AName);
  std::string nome = UpperCase(c.Nome), contexto = UpperCase(AContexto);
  for (auto& i : Registro().Instancias)
    if (!i.Nova && i.Classe == nome && i.Contexto == contexto) return i.Objeto.get();
  auto obj = nCriarInstancia(c.Nome, AAction, AContexto);
  TnDataModule* p = obj.get();
  Registro().Instancias.push_back(TInstancia{nome, contexto, false, std::move(obj)});
  return p;
}

void DestruirDM(std::string_view AName, std::string_view AContexto) {
  std::string nome = UpperCase(nNomeRegistrado(AName).empty() ? std::string(AName) : nNomeRegistrado(AName));
  std::string contexto = UpperCase(AContexto);
  LiberarSe([&](const TInstancia& i) { return !i.Nova && i.Classe == nome && i.Contexto == contexto; });
}

TnDataModule* CriarDMNovo(std::string_view AName, TnAction* AAction) {
  TClasse& c = EncontrarOuFalhar(AName);
  auto obj = nCriarInstancia(c.Nome, AAction);
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
    std::unique_ptr<TnDataModule> p = std::move(Registro().Instancias.back().Objeto);
    Registro().Instancias.pop_back();
    Liberar(std::move(p));
  }
}

size_t nInstanciasVivas() { return Registro().Instancias.size(); }

TnRegistroUnidade::TnRegistroUnidade(std::initializer_list<TnClasseDeclarada> AClasses) {
  for (const auto& c : AClasses) {
    nRegisterClass(c.Nome, c.Fabrica);
    FNomes.emplace_back(c.Nome);
  }
}

TnRegistroUnidade::~TnRegistroUnidade() {
  for (const auto& n : FNomes) nUnRegisterClass(n);
}

}  // namespace nFramework
