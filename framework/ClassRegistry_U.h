// The class registry: registered classes by name, and the instances the framework creates
// from them (one per name and context with CriarDM, or free-standing with CriarDMNovo).
// Names match without regard to case, and a name given without its leading "T" finds the
// class too ("UlmoDCPatBemTipoCategoriaBem"), as the form resources write some of them.
// Everything runs on the one user-interface thread.
#pragma once
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DataModule_U.h"

namespace nFramework {

using TnFabrica = std::function<std::unique_ptr<TnDataModule>()>;

// Registering a name already registered only counts the registration: the class stays
// listed once and leaves the registry when every registration has been removed.
void nRegisterClass(std::string_view aName, TnFabrica aFabrica);
void nUnRegisterClass(std::string_view aName);
template <class T>
void nRegisterClass() {
  nRegisterClass(T::StaticClassName(), [] { return std::unique_ptr<TnDataModule>(new T()); });
}
template <class T>
void nUnRegisterClass() {
  nUnRegisterClass(T::StaticClassName());
}

bool nClasseRegistrada(std::string_view aName);
// The registered spelling of a name, or empty when it is not registered.
std::string nNomeRegistrado(std::string_view aName);
// Registered names, in registration order.
std::vector<std::string> nClassesRegistradas();
// The module library whose load registered the class (empty for classes registered otherwise).
std::string nBibliotecaDaClasse(std::string_view aName);
// Set by the library loader while a library's initializations run.
void nSetBibliotecaCarregando(std::string aBiblioteca);
const std::string& nBibliotecaCarregando();

// Asks every registered class, in registration order, for its menu action. The classes are
// constructed for the question only, without their creation handlers.
void nGerarPrincActions(TnActionList& aActionList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos);

// A new instance of a registered class, after its DataModuleCreate; owned by the caller,
// whose pointer runs DataModuleDestroy when it frees it. Raises "Classe não registrada: NAME"
// for an unknown name.
TnDMPtr<> nCriarInstancia(std::string_view aName, TnAction* aAction = nullptr,
                                              std::string_view aContexto = {});
// The same for a class known at compile time, registered or not (tests, helpers). A plain
// owner: freeing it does not run DataModuleDestroy.
template <class T>
std::unique_ptr<T> nCriarObjeto() {
  auto p = std::make_unique<T>();
  p->DataModuleCreate();
  return p;
}
// The instance as one of its classes; an empty pointer (and the instance freed) when it is not.
template <class T>
TnDMPtr<T> nComoClasse(TnDMPtr<> aDM) {
  T* p = dynamic_cast<T*>(aDM.get());
  if (!p) return TnDMPtr<T>();
  aDM.release();
  return TnDMPtr<T>(p);
}

// The instance of that class and context, created on the first call; owned by the framework.
TnDataModule* CriarDM(std::string_view aName, TnAction* aAction, std::string_view aContexto);
// Frees the instance of that class and context; nothing when there is none.
void DestruirDM(std::string_view aName, std::string_view aContexto);
// A new instance on every call, owned by the framework until DestruirDMDefinitivo.
TnDataModule* CriarDMNovo(std::string_view aName, TnAction* aAction);
// Frees an instance created by CriarDM or CriarDMNovo and clears the pointer.
void DestruirDMDefinitivo(TnDataModule*& ADM);
template <class T>
void DestruirDMDefinitivo(T*& ADM) {
  TnDataModule* p = ADM;
  DestruirDMDefinitivo(p);
  ADM = nullptr;
}
// Frees every instance the framework holds (before the libraries that hold their code unload).
void DestruirTodosDM();
size_t nInstanciasVivas();

// A unit's registrations: registers its classes in order when constructed and removes them
// in the same order when destroyed. A static object of this type in a library's unit ties
// the registration to the library's load and unload.
struct TnClasseDeclarada {
  std::string_view Nome;
  TnFabrica Fabrica;
};
template <class T>
TnClasseDeclarada nClasse() {
  return {T::StaticClassName(), [] { return std::unique_ptr<TnDataModule>(new T()); }};
}

class TnRegistroUnidade {
 public:
  TnRegistroUnidade(std::initializer_list<TnClasseDeclarada> aClasses);
  ~TnRegistroUnidade();
  TnRegistroUnidade(const TnRegistroUnidade&) = delete;
  TnRegistroUnidade& operator=(const TnRegistroUnidade&) = delete;

 private:
  std::vector<std::string> FNomes;
};

}  // namespace nFramework
