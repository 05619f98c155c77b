#include "Progresso_U.h"

#include <gtest/gtest.h>

#include <thread>

using namespace nFramework;

TEST(Cancelamento, AStepUnderAPendingRequestRaisesAndOtherThreadsGoOn) {
  TnCancelamento cancelamento;
  TnEscopoCancelamento escopo(cancelamento);
  TnFraProgresso frame;
  frame.MostrarMultiplo();
  frame.SetMaxTotal(3);
  frame.IncProgressoTotal();
  cancelamento.Pedir();
  // A frame elsewhere, outside any scope, is not stopped by this run's request.
  std::thread outro([] {
    TnFraProgresso f;
    f.IncProgressoTotal();
    EXPECT_EQ(f.PosicaoTotal(), 1);
  });
  outro.join();
  // Setting a caption is not a step; the next step raises before it counts.
  frame.SetTextoParcial("Apurando conta: 11");
  EXPECT_THROW(frame.IncProgressoParcial("Apurando conta: 12"), ECancelado);
  EXPECT_EQ(frame.TextoParcial(), "Apurando conta: 11");
  EXPECT_THROW(frame.IncProgressoTotal(), ECancelado);
  EXPECT_THROW(frame.MostrarTexto("Gravando..."), ECancelado);
  EXPECT_EQ(frame.PosicaoTotal(), 1);
  cancelamento.Retirar();
  frame.IncProgressoTotal();
  EXPECT_EQ(frame.PosicaoTotal(), 2);
}

TEST(Cancelamento, AFrameWithItsOwnHandlerLetsTheHandlerDecide) {
  TnCancelamento cancelamento;
  TnEscopoCancelamento escopo(cancelamento);
  TnFraProgresso frame;
  int chamadas = 0;
  std::thread::id thread;
  frame.ConfigurarBtnCancel([&](void* aSender) {
    ++chamadas;
    thread = std::this_thread::get_id();
    EXPECT_EQ(aSender, &frame);
  });
  cancelamento.Pedir();
  EXPECT_NO_THROW(frame.IncProgressoTotal("Enviando..."));
  EXPECT_EQ(chamadas, 1);
  EXPECT_EQ(thread, std::this_thread::get_id());
  EXPECT_FALSE(cancelamento.Pedido());
  frame.IncProgressoTotal();
  EXPECT_EQ(chamadas, 1);
  EXPECT_EQ(frame.PosicaoTotal(), 2);
}

TEST(Cancelamento, TheScopeEndsWithItsBlock) {
  TnCancelamento cancelamento;
  cancelamento.Pedir();
  TnFraProgresso frame;
  {
    TnEscopoCancelamento escopo(cancelamento);
    EXPECT_THROW(frame.IncProgressoTotal(), ECancelado);
  }
  EXPECT_NO_THROW(frame.IncProgressoTotal());
  EXPECT_EQ(ECancelado().what(), std::string("Processo cancelado pelo usuário!"));
}
