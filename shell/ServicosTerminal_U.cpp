#include "ServicosTerminal_U.h"

#include <istream>
#include <ostream>

#include "Classes_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace {

int IndiceCaption(const TnDialogo& ADialogo, std::string_view ACaption) {
  for (size_t i = 0; i < ADialogo.Botoes.size(); ++i)
    if (SameText(CaptionSemAtalho(ADialogo.Botoes[i]), ACaption)) return static_cast<int>(i);
  return -1;
}

std::string Opcoes(const TnDialogo& ADialogo) {
  std::string r;
  for (size_t i = 0; i < ADialogo.Botoes.size(); ++i)
    r += (i ? ", " : "") + std::to_string(i + 1) + "=" + CaptionSemAtalho(ADialogo.Botoes[i]);
  return r;
}

void ImprimirNo(const TnMsgNode& ANo, int ANivel, std::ostream& AOut) {
  AOut << std::string(static_cast<size_t>(ANivel) * 2, ' ') << '[' << NomeTipoMensagem(ANo.Tipo) << "] " << ANo.Texto;
  if (!ANo.Chave.empty() && ANo.Texto.find(ANo.Chave) == std::string::npos) AOut << " (" << ANo.Chave << ')';
  AOut << '\n';
  for (const auto& f : ANo.Filhos) ImprimirNo(*f, ANivel + 1, AOut);
}

}  // namespace

int TDialogoTerminal::Perguntar(const TnDialogo& ADialogo) {
  int todos = IndiceCaption(ADialogo, "Sim para todos");
  if (todos >= 0 && FOpcoes.Sobrescrever) {
    int r = *FOpcoes.Sobrescrever == TRespostaSobrescrever::Todos ? todos
            : *FOpcoes.Sobrescrever == TRespostaSobrescrever::Sim ? IndiceCaption(ADialogo, "Sim")
                                                                   : IndiceCaption(ADialogo, "Não");
    if (r >= 0) return r;
  }
  if (FOpcoes.Sim) {
    int sim = IndiceCaption(ADialogo, "Sim");
    return sim >= 0 ? sim : ADialogo.Padrao;
  }
  if (FOpcoes.Interativo) {
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
      FErr << ADialogo.Texto << " [" << Opcoes(ADialogo) << "]: " << std::flush;
      std::string linha;
      if (!std::getline(FIn, linha)) break;
      linha = Trim(linha);
      int n = StrToIntDef(linha, 0);
      if (n >= 1 && n <= static_cast<int>(ADialogo.Botoes.size())) return n - 1;
      if (int i = IndiceCaption(ADialogo, linha); i >= 0) return i;
    }
  }
  int r = RespostaSegura(ADialogo);
  FErr << "Pergunta: " << ADialogo.Texto << "\n  respondida \"" << CaptionSemAtalho(ADialogo.Botoes[static_cast<size_t>(r)])
       << "\" sem perguntar (use --yes ou --overwrite yes|all|no para responder)\n";
  return r;
}

std::string TextoProgresso(const TnFraProgresso& AFrame) {
  auto barra = [](const std::string& texto, int pos, int max, bool circular) {
    std::string r = texto;
    if (!circular && max > 0) r += (r.empty() ? "" : " ") + std::to_string(pos) + "/" + std::to_string(max);
    else if (!circular && pos > 0) r += (r.empty() ? "" : " ") + std::to_string(pos);
    return r;
  };
  std::string r = AFrame.Texto();
  std::string total = barra(AFrame.TextoTotal(), AFrame.PosicaoTotal(), AFrame.MaxTotal(), AFrame.Circular());
  if (!total.empty()) r += (r.empty() ? "" : " | ") + total;
  if (AFrame.Multiplo()) {
    std::string parcial =
        barra(AFrame.TextoParcial(), AFrame.PosicaoParcial(), AFrame.MaxParcial(), AFrame.CircularParcial());
    if (!parcial.empty()) r += (r.empty() ? "" : " | ") + parcial;
  }
  return r;
}

void TProgressoTerminal::Atualizar(const TnFraProgresso& AFrame) {
  auto agora = std::chrono::steady_clock::now();
  if (FMostrando && agora - FUltima < std::chrono::milliseconds(100)) return;
  FUltima = agora;
  FErr << "\r\033[K" << TextoProgresso(AFrame) << std::flush;
  FMostrando = true;
}

void TProgressoTerminal::Ocultar(const TnFraProgresso&) {
  if (!FMostrando) return;
  FErr << "\r\033[K" << std::flush;
  FMostrando = false;
}

void ImprimirArvore(const ITreeMessager& AArvore, std::ostream& AOut) {
  for (const auto& n : AArvore.Raizes()) ImprimirNo(*n, 0, AOut);
}
