// TnDataModule: the base of every class the registry creates by name (registers, lookups,
// processes, process forms). It names itself, may contribute a menu action, and owns the
// components it declares, which callers find by name ("nClientDataSet").
#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <typeinfo>

#include "Action_U.h"
#include "Classes_U.h"
#include "ClientDataSet_U.h"

// Declares the class name a registered class answers to; put it first in the class body.
#define N_CLASSE(Nome)                                                  \
 public:                                                                \
  static constexpr std::string_view StaticClassName() { return #Nome; } \
  std::string_view ClassName() const override { return #Nome; }

namespace nFramework {

class TnDataModule {
 public:
  TnDataModule() = default;
  TnDataModule(const TnDataModule&) = delete;
  TnDataModule& operator=(const TnDataModule&) = delete;
  virtual ~TnDataModule() = default;

  static constexpr std::string_view StaticClassName() { return "TnDataModule"; }
  virtual std::string_view ClassName() const { return "TnDataModule"; }

  // Virtual operations, in the framework's slot order.
  // Adds at most one action to aActionList; the base adds none.
  virtual void GerarPrincAction(TnActionList& aActionList, TNotifyEvent aOnExecute, const TnPerModulos& aModulos);
  // The ';'-separated selection keys that must be chosen before the class opens; the base
  // gives the value declared with SetVerificaSelecao (empty unless declared).
  virtual std::string PegarVerificaSelecao() const { return FVerificaSelecao; }
  // The registered form class that shows this class; empty when none is paired.
  virtual std::string GetFormClass() const;

  // Creation and destruction handlers. The registry runs DataModuleCreate right after
  // construction and DataModuleDestroy right before destruction, so both dispatch virtually.
  virtual void DataModuleCreate() {}
  virtual void DataModuleDestroy() {}
  // Called by the framework around the configuration of the class's screen (aForm may be
  // nullptr: configured without a screen).
  virtual void AntesConfigurar(void* aForm) { (void)aForm; }
  virtual void DepoisConfigurar(void* aForm) { (void)aForm; }

  void SetVerificaSelecao(std::string aValor) { FVerificaSelecao = std::move(aValor); }
  // The action that opened the instance (nullptr when created without one).
  TnAction* Action() const { return FAction; }
  void SetAction(TnAction* aAction) { FAction = aAction; }
  const std::string& Contexto() const { return FContexto; }
  void SetContexto(std::string aContexto) { FContexto = std::move(aContexto); }
  // The base's Boolean that every module clears after its inherited creation; it changes
  // nothing in this stand-in and is kept so creation handlers read as written.
  void SetBooleanoBase(bool aValor) { FBooleanoBase = aValor; }
  bool BooleanoBase() const { return FBooleanoBase; }

  // Components owned by the module, found by name without regard to case.
  template <class T>
  T& AddComponent(std::string aName, std::unique_ptr<T> aComponente) {
    auto holder = std::make_unique<THolder<T>>(std::move(aComponente));
    T& ref = *holder->FObjeto;
    std::string chave = UpperCase(aName);
    FComponentes[chave] = TEntrada{std::move(aName), std::move(holder)};
    return ref;
  }
  // nullptr when there is no component of that name or it is of another type.
  template <class T>
  T* FindComponent(std::string_view aName) const {
    auto it = FComponentes.find(UpperCase(aName));
    if (it == FComponentes.end()) return nullptr;
    auto* h = dynamic_cast<THolder<T>*>(it->second.FHolder.get());
    return h ? h->FObjeto.get() : nullptr;
  }
  // A client dataset owned by the module under that component name.
  TClientDataSet& AddClientDataSet(std::string aName);
  // Raises EInternalError when the component is missing.
  template <class T>
  T& ComponentByName(std::string_view aName) const {
    if (T* p = FindComponent<T>(aName)) return *p;
    ComponenteAusente(aName);
  }

 private:
  struct THolderBase {
    virtual ~THolderBase() = default;
  };
  template <class T>
  struct THolder : THolderBase {
    explicit THolder(std::unique_ptr<T> p) : FObjeto(std::move(p)) {}
    std::unique_ptr<T> FObjeto;
  };
  struct TEntrada {
    std::string FName;
    std::unique_ptr<THolderBase> FHolder;
  };
  [[noreturn]] void ComponenteAusente(std::string_view aName) const;

  std::string FVerificaSelecao;
  std::string FContexto;
  TnAction* FAction = nullptr;
  bool FBooleanoBase = true;
  std::map<std::string, TEntrada> FComponentes;
};

// Frees an instance the way the framework does: DataModuleDestroy first, then the object.
struct TnLiberarDM {
  void operator()(TnDataModule* aDM) const {
    if (!aDM) return;
    aDM->DataModuleDestroy();
    delete aDM;
  }
};
// An instance owned outside the framework's lists (a command, a test).
template <class T = TnDataModule>
using TnDMPtr = std::unique_ptr<T, TnLiberarDM>;

// Pairs a process class with the form class that shows it (the framework's pairing rule).
void nRegistrarFormulario(std::string_view aClasseProcesso, std::string_view aClasseFormulario);
void nRemoverFormulario(std::string_view aClasseProcesso);

}  // namespace nFramework
