#include "ServicosTerminal_U.h"

#include <istream>
#include <ostream>

#include "Classes_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace {

int IndiceCaption(const TnDialogo& aDialogo, std::string_view aCaption) {
  for (size_t i = 0; i < aDialogo.Botoes.size(); ++i)
    if (SameText(CaptionSemAtalho(aDialogo.Botoes[i]), aCaption)) return static_cast<int>(i);
  return -1;
}

std::string Opcoes(const TnDialogo& aDialogo) {
  std::string r;
  for (size_t i = 0; i < aDialogo.Botoes.size(); ++i)
    r += (i ? ", " : "") + std::to_string(i + 1) + "=" + CaptionSemAtalho(aDialogo.Botoes[i]);
  return r;
}

void ImprimirNo(const TnMsgNode& aNo, int aNivel, std::ostream& aOut) {
  aOut << std::string(static_cast<size_t>(aNivel) * 2, ' ') << '[' << NomeTipoMensagem(aNo.Tipo) << "] " << aNo.Texto;
  if (!aNo.Chave.empty() && aNo.Texto.find(aNo.Chave) == std::string::npos) aOut << " (" << aNo.Chave << ')';
  aOut << '\n';
  for (const auto& f : aNo.Filhos) ImprimirNo(*f, aNivel + 1, aOut);
}

}  // namespace

int TDialogoTerminal::Perguntar(const TnDialogo& aDialogo) {
  int todos = IndiceCaption(aDialogo, "Sim para todos");
  if (todos >= 0 && FOpcoes.Sobrescrever) {
    int r = *FOpcoes.Sobrescrever == TRespostaSobrescrever::Todos ? todos
            : *FOpcoes.Sobrescrever == TRespostaSobrescrever::Sim ? IndiceCaption(aDialogo, "Sim")
                                                                   : IndiceCaption(aDialogo, "Não");
    if (r >= 0) return r;
  }
  if (FOpcoes.Sim) {
    int sim = IndiceCaption(aDialogo, "Sim");
    return sim >= 0 ? sim : aDialogo.Padrao;
  }
  if (FOpcoes.Interativo) {
    for (int tentativa = 0; tentativa < 3; ++tentativa) {
      FErr << aDialogo.Texto << " [" << Opcoes(aDialogo) << "]: " << std::flush;
      std::string linha;
      if (!std::getline(FIn, linha)) break;
      linha = Trim(linha);
      int n = StrToIntDef(linha, 0);
      if (n >= 1 && n <= static_cast<int>(aDialogo.Botoes.size())) return n - 1;
      if (int i = IndiceCaption(aDialogo, linha); i >= 0) return i;
    }
  }
  int r = RespostaSegura(aDialogo);
  FErr << "Pergunta: " << aDialogo.Texto << "\n  respondida \"" << CaptionSemAtalho(aDialogo.Botoes[static_cast<size_t>(r)])
       << "\" sem perguntar (use --yes ou --overwrite yes|all|no para responder)\n";
  return r;
}

std::string TextoProgresso(const TnFraProgresso& aFrame) {
  auto barra = [](const std::string& texto, int pos, int max, bool circular) {
    std::string r = texto;
    if (!circular && max > 0) r += (r.empty() ? "" : " ") + std::to_string(pos) + "/" + std::to_string(max);
    else if (!circular && pos > 0) r += (r.empty() ? "" : " ") + std::to_string(pos);
    return r;
  };
  std::string r = aFrame.Texto();
  std::string total = barra(aFrame.TextoTotal(), aFrame.PosicaoTotal(), aFrame.MaxTotal(), aFrame.Circular());
  if (!total.empty()) r += (r.empty() ? "" : " | ") + total;
  if (aFrame.Multiplo()) {
    std::string parcial =
        barra(aFrame.TextoParcial(), aFrame.PosicaoParcial(), aFrame.MaxParcial(), aFrame.CircularParcial());
    if (!parcial.empty()) r += (r.empty() ? "" : " | ") + parcial;
  }
  return r;
}

void TProgressoTerminal::Atualizar(const TnFraProgresso& aFrame) {
  auto agora = std::chrono::steady_clock::now();
  if (FMostrando && agora - FUltima < std::chrono::milliseconds(100)) return;
  FUltima = agora;
  FErr << "\r\033[K" << TextoProgresso(aFrame) << std::flush;
  FMostrando = true;
}

void TProgressoTerminal::Ocultar(const TnFraProgresso&) {
  if (!FMostrando) return;
  FErr << "\r\033[K" << std::flush;
  FMostrando = false;
}

void ImprimirArvore(const ITreeMessager& aArvore, std::ostream& aOut) {
  for (const auto& n : aArvore.Raizes()) ImprimirNo(*n, 0, aOut);
}
