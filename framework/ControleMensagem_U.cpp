#include "ControleMensagem_U.h"

namespace nFramework {

namespace {

TnMsgNode* Buscar(const std::vector<std::unique_ptr<TnMsgNode>>& ANos, const std::string& AChave) {
  for (const auto& n : ANos) {
    if (n->Chave == AChave) return n.get();
    if (TnMsgNode* f = Buscar(n->Filhos, AChave)) return f;
  }
  return nullptr;
}

size_t ContarEm(const std::vector<std::unique_ptr<TnMsgNode>>& ANos, int ATipo) {
  size_t r = 0;
  for (const auto& n : ANos) {
    if (ATipo < 0 || n->Tipo == ATipo) ++r;
    r += ContarEm(n->Filhos, ATipo);
  }
  return r;
}

void Expandir(const std::vector<std::unique_ptr<TnMsgNode>>& ANos) {
  for (const auto& n : ANos) {
    n->Expandido = true;
    Expandir(n->Filhos);
  }
}

}  // namespace

const char* NomeTipoMensagem(int ATipo) {
  switch (ATipo) {
    case tmErro: return "ERRO";
    case tmAviso: return "AVISO";
    case tmInformacao: return "INFO";
    case tmParada: return "PARADA";
    case tmConfirmacao: return "OK";
    default: return "MSG";
  }
}

size_t ITreeMessager::Total() const { return ContarEm(Raizes(), -1); }

TnMsgNode* TnMsgTreeLista::Add(int ATipo, const std::string& ATexto, TnMsgNode* APai, const std::string& AChave) {
  auto no = std::make_unique<TnMsgNode>();
  no->Tipo = ATipo;
  no->Texto = ATexto;
  no->Chave = AChave;
  no->Pai = APai;
  auto& destino = APai ? APai->Filhos : FRaizes;
  destino.push_back(std::move(no));
  return destino.back().get();
}

TnMsgNode* TnMsgTreeLista::AddImageIndex(int AImageIndex, const std::string& ATexto, TnMsgNode* APai) {
  TnMsgNode* no = Add(tmInformacao, ATexto, APai);
  no->ImageIndex = AImageIndex;
  return no;
}

TnMsgNode* TnMsgTreeLista::EncontrarNode(const std::string& AChave) const {
  return AChave.empty() ? nullptr : Buscar(FRaizes, AChave);
}

void TnMsgTreeLista::ExpandAll() { Expandir(FRaizes); }

size_t TnMsgTreeLista::Contar(int ATipo) const { return ContarEm(FRaizes, ATipo); }

TnControleMensagem::TnControleMensagem() : FLista(std::make_shared<TnMsgTreeLista>()) {}

void TnControleMensagem::SetFraListaMensagemTree(std::shared_ptr<ITreeMessager> ATree) { FTree = std::move(ATree); }

void TnControleMensagem::Clear() {
  if (FTree) FTree->Clear();
}

void TnControleMensagem::LimparListaMensagem() { FLista->Clear(); }

TnMsgNode* TnControleMensagem::Adicionar(int ATipo, const std::string& ATexto, const std::string& AChavePai,
                                         const std::string& AChave) {
  ITreeMessager& t = Destino();
  TnMsgNode* pai = AChavePai.empty() ? nullptr : t.EncontrarNode(AChavePai);
  return t.Add(ATipo, ATexto, pai, AChave);
}

TnMsgNode* TnControleMensagem::AddErro(const std::string& ATexto, const std::string& AChavePai,
                                       const std::string& AChave) {
  return Adicionar(tmErro, ATexto, AChavePai, AChave);
}

TnMsgNode* TnControleMensagem::AddAviso(const std::string& ATexto, const std::string& AChavePai,
                                        const std::string& AChave) {
  return Adicionar(tmAviso, ATexto, AChavePai, AChave);
}

TnMsgNode* TnControleMensagem::AddInformacao(const std::string& ATexto, const std::string& AChavePai,
                                             const std::string& AChave) {
  return Adicionar(tmInformacao, ATexto, AChavePai, AChave);
}

TnMsgNode* TnControleMensagem::AddConfirmacao(const std::string& ATexto, const std::string& AChavePai,
                                              const std::string& AChave) {
  return Adicionar(tmConfirmacao, ATexto, AChavePai, AChave);
}

TnMsgNode* TnControleMensagem::AddMesagemImageIndex(const std::string& ATexto, int AImageIndex,
                                                    const std::string& AChavePai, const std::string& AChave) {
  TnMsgNode* no = Adicionar(tmInformacao, ATexto, AChavePai, AChave);
  no->ImageIndex = AImageIndex;
  return no;
}

TnMsgNode* TnControleMensagem::EncontrarNode(const std::string& AChave) const {
  return Destino().EncontrarNode(AChave);
}

void TnControleMensagem::ExpandAll() { Destino().ExpandAll(); }

TnControleMensagem& ControleMensagem() {
  static TnControleMensagem controle;
  return controle;
}

}  // namespace nFramework
