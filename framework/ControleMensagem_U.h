// Messages of a run: the message tree a process owns (ITreeMessager) and the framework's
// message controller (ControleMensagem), through which generators and senders add errors,
// warnings and confirmations to the tree the process handed over. Front ends render trees;
// nothing here prints.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace nFramework {

// Message kinds.
enum TnTipoMensagem : int {
  tmErro = 0,
  tmAviso = 1,
  tmInformacao = 2,  // the tree's default kind
  tmParada = 4,      // a run stopped on purpose
  tmConfirmacao = 5,
};
const char* NomeTipoMensagem(int aTipo);  // "ERRO", "AVISO"...

struct TnMsgNode {
  int Tipo = tmInformacao;
  std::string Texto;
  std::string Chave;  // found by EncontrarNode; also the detail a front end may show
  int ImageIndex = -1;
  bool Expandido = false;
  TnMsgNode* Pai = nullptr;
  std::vector<std::unique_ptr<TnMsgNode>> Filhos;
};

// A message tree. Shared (counted) between the process that owns it and the controller.
class ITreeMessager {
 public:
  virtual ~ITreeMessager() = default;
  // Adds a line under aPai (top level when nullptr) and returns its node.
  virtual TnMsgNode* Add(int aTipo, const std::string& aTexto, TnMsgNode* aPai = nullptr, const std::string& aChave = {}) = 0;
  // A line of the default kind with an image index (a heading such as a month).
  virtual TnMsgNode* AddImageIndex(int aImageIndex, const std::string& aTexto, TnMsgNode* aPai = nullptr) = 0;
  virtual TnMsgNode* EncontrarNode(const std::string& aChave) const = 0;
  virtual void Clear() = 0;
  virtual void ExpandAll() = 0;
  // The tree's own parameterless notification: front ends refresh what they show.
  virtual void Notificar() = 0;
  virtual const std::vector<std::unique_ptr<TnMsgNode>>& Raizes() const = 0;
  // Lines of that kind anywhere in the tree.
  virtual size_t Contar(int aTipo) const = 0;
  size_t Total() const;
  // An error or a stop anywhere in the tree: the run failed.
  bool Falhou() const { return Contar(tmErro) + Contar(tmParada) > 0; }
};

class TnMsgTreeLista final : public ITreeMessager {
 public:
  TnMsgNode* Add(int aTipo, const std::string& aTexto, TnMsgNode* aPai = nullptr, const std::string& aChave = {}) override;
  TnMsgNode* AddImageIndex(int aImageIndex, const std::string& aTexto, TnMsgNode* aPai = nullptr) override;
  TnMsgNode* EncontrarNode(const std::string& aChave) const override;
  void Clear() override { FRaizes.clear(); }
  void ExpandAll() override;
  void Notificar() override {
    if (FOnNotificar) FOnNotificar();
  }
  const std::vector<std::unique_ptr<TnMsgNode>>& Raizes() const override { return FRaizes; }
  size_t Contar(int aTipo) const override;
  void SetOnNotificar(std::function<void()> aEvento) { FOnNotificar = std::move(aEvento); }

 private:
  std::vector<std::unique_ptr<TnMsgNode>> FRaizes;
  std::function<void()> FOnNotificar;
};

// The framework's message controller. Messages go to the attached tree; with none attached
// they are kept in the controller's own list, so nothing is lost.
class TnControleMensagem {
 public:
  TnControleMensagem();
  // Attaches a tree (nullptr detaches).
  void SetFraListaMensagemTree(std::shared_ptr<ITreeMessager> aTree);
  std::shared_ptr<ITreeMessager> FraListaMensagemTree() const { return FTree; }
  void Clear();                // empties the attached tree
  void LimparListaMensagem();  // empties the controller's own list
  // aChavePai: the key of the node to hang under (top level when empty or not found);
  // aChave: the key of the new node.
  TnMsgNode* AddErro(const std::string& aTexto, const std::string& aChavePai = {}, const std::string& aChave = {});
  TnMsgNode* AddAviso(const std::string& aTexto, const std::string& aChavePai = {}, const std::string& aChave = {});
  TnMsgNode* AddInformacao(const std::string& aTexto, const std::string& aChavePai = {}, const std::string& aChave = {});
  TnMsgNode* AddConfirmacao(const std::string& aTexto, const std::string& aChavePai = {},
                            const std::string& aChave = {});
  TnMsgNode* AddMesagemImageIndex(const std::string& aTexto, int aImageIndex, const std::string& aChavePai = {},
                                  const std::string& aChave = {});
  TnMsgNode* EncontrarNode(const std::string& aChave) const;
  void ExpandAll();
  // The list used while no tree is attached.
  const ITreeMessager& ListaMensagem() const { return *FLista; }

 private:
  ITreeMessager& Destino() const { return FTree ? *FTree : *FLista; }
  TnMsgNode* Adicionar(int aTipo, const std::string& aTexto, const std::string& aChavePai, const std::string& aChave);

  std::shared_ptr<ITreeMessager> FTree;
  std::shared_ptr<ITreeMessager> FLista;
};

TnControleMensagem& ControleMensagem();

}  // namespace nFramework
