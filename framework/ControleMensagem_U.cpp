#include "ControleMensagem_U.h"

namespace nFramework {

namespace {

TnMsgNode* Buscar(const std::vector<std::unique_ptr<TnMsgNode>>& aNos, const std::string& aChave) {
  for (const auto& n : aNos) {
    if (n->Chave == aChave) return n.get();
    if (TnMsgNode* f = Buscar(n->Filhos, aChave)) return f;
  }
  return nullptr;
}

size_t ContarEm(const std::vector<std::unique_ptr<TnMsgNode>>& aNos, int aTipo) {
  size_t r = 0;
  for (const auto& n : aNos) {
    if (aTipo < 0 || n->Tipo == aTipo) ++r;
    r += ContarEm(n->Filhos, aTipo);
  }
  return r;
}

void Expandir(const std::vector<std::unique_ptr<TnMsgNode>>& aNos) {
  for (const auto& n : aNos) {
    n->Expandido = true;
    Expandir(n->Filhos);
  }
}

}  // namespace

const char* NomeTipoMensagem(int aTipo) {
  switch (aTipo) {
    case tmErro: return "ERRO";
    case tmAviso: return "AVISO";
    case tmInformacao: return "INFO";
    case tmParada: return "PARADA";
    case tmConfirmacao: return "OK";
    default: return "MSG";
  }
}

size_t ITreeMessager::Total() const { return ContarEm(Raizes(), -1); }

TnMsgNode* TnMsgTreeLista::Add(int aTipo, const std::string& aTexto, TnMsgNode* aPai, const std::string& aChave) {
  auto no = std::make_unique<TnMsgNode>();
  no->Tipo = aTipo;
  no->Texto = aTexto;
  no->Chave = aChave;
  no->Pai = aPai;
  auto& destino = aPai ? aPai->Filhos : FRaizes;
  destino.push_back(std::move(no));
  return destino.back().get();
}

TnMsgNode* TnMsgTreeLista::AddImageIndex(int aImageIndex, const std::string& aTexto, TnMsgNode* aPai) {
  TnMsgNode* no = Add(tmInformacao, aTexto, aPai);
  no->ImageIndex = aImageIndex;
  return no;
}

TnMsgNode* TnMsgTreeLista::EncontrarNode(const std::string& aChave) const {
  return aChave.empty() ? nullptr : Buscar(FRaizes, aChave);
}

void TnMsgTreeLista::ExpandAll() { Expandir(FRaizes); }

size_t TnMsgTreeLista::Contar(int aTipo) const { return ContarEm(FRaizes, aTipo); }

TnControleMensagem::TnControleMensagem() : FLista(std::make_shared<TnMsgTreeLista>()) {}

void TnControleMensagem::SetFraListaMensagemTree(std::shared_ptr<ITreeMessager> aTree) { FTree = std::move(aTree); }

void TnControleMensagem::Clear() {
  if (FTree) FTree->Clear();
}

void TnControleMensagem::LimparListaMensagem() { FLista->Clear(); }

TnMsgNode* TnControleMensagem::Adicionar(int aTipo, const std::string& aTexto, const std::string& aChavePai,
                                         const std::string& aChave) {
  ITreeMessager& t = Destino();
  TnMsgNode* pai = aChavePai.empty() ? nullptr : t.EncontrarNode(aChavePai);
  return t.Add(aTipo, aTexto, pai, aChave);
}

TnMsgNode* TnControleMensagem::AddErro(const std::string& aTexto, const std::string& aChavePai,
                                       const std::string& aChave) {
  return Adicionar(tmErro, aTexto, aChavePai, aChave);
}

TnMsgNode* TnControleMensagem::AddAviso(const std::string& aTexto, const std::string& aChavePai,
                                        const std::string& aChave) {
  return Adicionar(tmAviso, aTexto, aChavePai, aChave);
}

TnMsgNode* TnControleMensagem::AddInformacao(const std::string& aTexto, const std::string& aChavePai,
                                             const std::string& aChave) {
  return Adicionar(tmInformacao, aTexto, aChavePai, aChave);
}

TnMsgNode* TnControleMensagem::AddConfirmacao(const std::string& aTexto, const std::string& aChavePai,
                                              const std::string& aChave) {
  return Adicionar(tmConfirmacao, aTexto, aChavePai, aChave);
}

TnMsgNode* TnControleMensagem::AddMesagemImageIndex(const std::string& aTexto, int aImageIndex,
                                                    const std::string& aChavePai, const std::string& aChave) {
  TnMsgNode* no = Adicionar(tmInformacao, aTexto, aChavePai, aChave);
  no->ImageIndex = aImageIndex;
  return no;
}

TnMsgNode* TnControleMensagem::EncontrarNode(const std::string& aChave) const {
  return Destino().EncontrarNode(aChave);
}

void TnControleMensagem::ExpandAll() { Destino().ExpandAll(); }

TnControleMensagem& ControleMensagem() {
  static TnControleMensagem controle;
  return controle;
}

}  // namespace nFramework
