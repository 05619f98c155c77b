#include "Progresso_U.h"

namespace nFramework {

namespace {
std::shared_ptr<IProgressoView>& View() {
  static std::shared_ptr<IProgressoView> view;
  return view;
}
thread_local TnCancelamento* tCancelamento = nullptr;
}  // namespace

TnEscopoCancelamento::TnEscopoCancelamento(TnCancelamento& aCancelamento) : FAnterior(tCancelamento) {
  tCancelamento = &aCancelamento;
}

TnEscopoCancelamento::~TnEscopoCancelamento() { tCancelamento = FAnterior; }

void SetProgressoView(std::shared_ptr<IProgressoView> aView) { View() = std::move(aView); }

TnFraProgresso::~TnFraProgresso() {
  if (FVisivel) Hide();
}

void TnFraProgresso::Notificar() {
  if (FVisivel && View()) View()->Atualizar(*this);
}

void TnFraProgresso::Passo() {
  if (!tCancelamento || !tCancelamento->Pedido()) return;
  if (FOnCancelar) {
    tCancelamento->Retirar();
    FOnCancelar(this);
    return;
  }
  throw ECancelado();
}

void TnFraProgresso::MostrarTexto(const std::string& aTexto) {
  Passo();
  FTexto = aTexto;
  FVisivel = true;
  Notificar();
}

void TnFraProgresso::MostrarSimples(const void*) {
  FMultiplo = false;
  FVisivel = true;
  Notificar();
}

void TnFraProgresso::MostrarMultiplo(const void*) {
  FMultiplo = true;
  FVisivel = true;
  Notificar();
}

void TnFraProgresso::SetEhCircular(bool aValor) {
  FCircular = aValor;
  Notificar();
}

void TnFraProgresso::SetEhCircularParcial(bool aValor) {
  FCircularParcial = aValor;
  Notificar();
}

void TnFraProgresso::SetTextoTotal(const std::string& aTexto) {
  FTextoTotal = aTexto;
  Notificar();
}

void TnFraProgresso::SetTextoParcial(const std::string& aTexto) {
  FTextoParcial = aTexto;
  Notificar();
}

void TnFraProgresso::SetMaxTotal(int aMax) {
  FMaxTotal = aMax;
  FPosicaoTotal = 0;
  Notificar();
}

void TnFraProgresso::SetMaxParcial(int aMax) {
  FMaxParcial = aMax;
  FPosicaoParcial = 0;
  Notificar();
}

void TnFraProgresso::IncProgressoTotal(int) {
  Passo();
  ++FPosicaoTotal;
  Notificar();
}

void TnFraProgresso::IncProgressoTotal(const std::string& aTexto, int) {
  Passo();
  FTextoTotal = aTexto;
  ++FPosicaoTotal;
  Notificar();
}

void TnFraProgresso::IncProgressoParcial(int) {
  Passo();
  ++FPosicaoParcial;
  Notificar();
}

void TnFraProgresso::IncProgressoParcial(const std::string& aTexto, int) {
  Passo();
  FTextoParcial = aTexto;
  ++FPosicaoParcial;
  Notificar();
}

void TnFraProgresso::LimparProgresso() {
  FTexto.clear();
  FTextoTotal.clear();
  FTextoParcial.clear();
  FPosicaoTotal = FMaxTotal = FPosicaoParcial = FMaxParcial = 0;
  Notificar();
}

void TnFraProgresso::ConfigurarBtnCancel(TNotifyEvent aHandler) {
  FOnCancelar = std::move(aHandler);
  Notificar();
}

void TnFraProgresso::PressionarCancelar() {
  if (FOnCancelar) FOnCancelar(this);
}

void TnFraProgresso::Hide() {
  if (!FVisivel) return;
  FVisivel = false;
  if (View()) View()->Ocultar(*this);
}

std::unique_ptr<TnFraProgresso> CriarProgresso(const void* aOwner) { return std::make_unique<TnFraProgresso>(aOwner); }

}  // namespace nFramework
