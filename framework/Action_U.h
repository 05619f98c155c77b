// Menu actions: the module set a menu is built for, the action a class contributes to it
// and the list that owns those actions. The framework builds menus from the list.
#pragma once
#include <array>
#include <bitset>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace nFramework {

// Handler of an event; the sender is the object that raised it (an action, a connection...).
using TNotifyEvent = std::function<void(void* aSender)>;

// A set of module numbers 0 to 191. Number 8 is this module, 1 the accounting module.
class TnPerModulos {
 public:
  static constexpr int MaxModulo = 191;

  TnPerModulos() = default;
  TnPerModulos(std::initializer_list<int> modulos);

  // Raises EInternalError for a number outside 0..191.
  void Incluir(int modulo);
  bool Contem(int modulo) const;
  bool Vazio() const { return FBits.none(); }
  TnPerModulos operator*(const TnPerModulos& outro) const;  // intersection
  bool operator==(const TnPerModulos& outro) const { return FBits == outro.FBits; }
  std::vector<int> Modulos() const;  // ascending
  std::string Texto() const;         // "{1, 8}"

 private:
  std::bitset<MaxModulo + 1> FBits;
};

class TnActionList;

// One menu entry. Values a class leaves alone keep the defaults below.
class TnAction {
 public:
  explicit TnAction(TnActionList* aOwner) : FActionList(aOwner) {}
  virtual ~TnAction() = default;

  TnActionList* ActionList() const { return FActionList; }
  void SetActionList(TnActionList* aList) { FActionList = aList; }

  std::string Name;
  std::string Caption;
  std::string Hint;
  std::string Category;  // levels separated by a backslash: "10 Cadastros\70 TCE/SE"
  TNotifyEvent OnExecute;
  int ImageIndex = -1;
  int Ordem = 0;                 // order within the category
  std::string VerificaSelecao;  // ';'-separated selection keys the class asks for
  bool Flag1 = false;
  bool Flag2 = true;
  bool AreaTrabalho = false;  // shown in a work area rather than in the main menu
  // The class under whose entry a work-area action hangs, and the text beside it.
  std::string ClasseContainer;
  std::string TextoContainer;

  void SetControlaDireito(bool aValor) { FControlaDireito = aValor; }
  bool ControlaDireito() const { return FControlaDireito; }
  void SetClasseContainer(std::string aClasse, std::string aTexto) {
    ClasseContainer = std::move(aClasse);
    TextoContainer = std::move(aTexto);
  }
  // Runs the execute handler with the action as sender; nothing when there is none.
  void Execute() {
    if (OnExecute) OnExecute(this);
  }

 private:
  TnActionList* FActionList;
  bool FControlaDireito = true;
};

// Owns its actions; freeing the list frees them.
class TnActionList {
 public:
  TnActionList() = default;
  TnActionList(const TnActionList&) = delete;
  TnActionList& operator=(const TnActionList&) = delete;

  // Creates an action (of class T, a TnAction) owned by this list and attached to it.
  template <class T = TnAction>
  T& CriarAction() {
    auto a = std::make_unique<T>(this);
    T& ref = *a;
    FActions.push_back(std::move(a));
    return ref;
  }
  size_t Count() const { return FActions.size(); }
  TnAction& operator[](size_t i) const { return *FActions[i]; }
  // Case-insensitive search by name; nullptr when absent.
  TnAction* FindAction(const std::string& aName) const;
  void Clear() { FActions.clear(); }
  auto begin() const { return FActions.begin(); }
  auto end() const { return FActions.end(); }

 private:
  std::vector<std::unique_ptr<TnAction>> FActions;
};

// The framework's per-module table of rights-action generators: element m, when set, builds
// the rights actions of module m from the action list (nGerarAcoesDireito calls it).
using TnGerarPrincActionMod = std::function<void(TnActionList& aActionList)>;
extern std::array<TnGerarPrincActionMod, TnPerModulos::MaxModulo + 1> FOnGerarPrincActionMods;
// Runs the generator of the module, if one is installed; false when none is.
bool nGerarAcoesDireito(int aModulo, TnActionList& aActionList);

}  // namespace nFramework
