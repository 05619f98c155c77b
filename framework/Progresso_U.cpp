#include "Progresso_U.h"

namespace nFramework {

namespace {
std::shared_ptr<IProgressoView>& View() {
  static std::shared_ptr<IProgressoView> view;
  return view;
}
}  // namespace

void SetProgressoView(std::shared_ptr<IProgressoView> AView) { View() = std::move(AView); }

TnFraProgresso::~TnFraProgresso() {
  if (FVisivel) Hide();
}

void TnFraProgresso::Notificar() {
  if (FVisivel && View()) View()->Atualizar(*this);
}

void TnFraProgresso::MostrarTexto(const std::string& ATexto) {
  FTexto = ATexto;
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

void TnFraProgresso::SetEhCircular(bool AValor) {
  FCircular = AValor;
  Notificar();
}

void TnFraProgresso::SetEhCircularParcial(bool AValor) {
  FCircularParcial = AValor;
  Notificar();
}

void TnFraProgresso::SetTextoTotal(const std::string& ATexto) {
  FTextoTotal = ATexto;
  Notificar();
}

void TnFraProgresso::SetTextoParcial(const std::string& ATexto) {
  FTextoParcial = ATexto;
  Notificar();
}

void TnFraProgresso::SetMaxTotal(int AMax) {
  FMaxTotal = AMax;
  FPosicaoTotal = 0;
  Notificar();
}

void TnFraProgresso::SetMaxParcial(int AMax) {
  FMaxParcial = AMax;
  FPosicaoParcial = 0;
  Notificar();
}

void TnFraProgresso::IncProgressoTotal(int) {
  ++FPosicaoTotal;
  Notificar();
}

void TnFraProgresso::IncProgressoTotal(const std::string& ATexto, int) {
  FTextoTotal = ATexto;
  ++FPosicaoTotal;
  Notificar();
}

void TnFraProgresso::IncProgressoParcial(int) {
  ++FPosicaoParcial;
  Notificar();
}

void TnFraProgresso::IncProgressoParcial(const std::string& ATexto, int) {
  FTextoParcial = ATexto;
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

void TnFraProgresso::ConfigurarBtnCancel(TNotifyEvent AHandler) {
  FOnCancelar = std::move(AHandler);
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

std::unique_ptr<TnFraProgresso> CriarProgresso(const void* AOwner) { return std::make_unique<TnFraProgresso>(AOwner); }

}  // namespace nFramework
