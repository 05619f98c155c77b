#include "ComandoDemo_U.h"

#include <chrono>
#include <filesystem>
#include <fmt/format.h>
#include <ostream>

#include "ComandosCli_U.h"
#include "Configuracao_U.h"
#include "Demo_U.h"
#include "EmpresaGrande_U.h"
#include "PostgreSQLDriver_U.h"
#include "Projeto_U.h"
#include "SQL_U.h"
#include "TextoMensagem_U.h"

using namespace nFramework;

namespace {

double Segundos(std::chrono::steady_clock::time_point aInicio) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - aInicio).count();
}

void ImprimirEmpresas(std::ostream& aOut) {
  auto ds = ExecutarSQL(
      "select E.CODIGOEMPRESA, E.NOMEEMPRESA, S.SIGLAESTADO, (select count(*) from LCTOCTB L where L.CODIGOEMPRESA = "
      "E.CODIGOEMPRESA) LANCAMENTOS, (select count(*) from PLANOESPEC P where P.CODIGOEMPRESA = E.CODIGOEMPRESA) "
      "CONTAS from EMPRESA E left join TCESISTEMAEMPRESA T on T.CODIGOEMPRESA = E.CODIGOEMPRESA left join TCESISTEMA S "
      "on S.CODIGOSISTEMATCE = T.CODIGOSISTEMATCE order by E.CODIGOEMPRESA");
  for (ds->First(); !ds->Eof(); ds->Next())
    aOut << fmt::format("  {:>4}  {}  TCE/{}  {} lançamentos, {} contas\n", ds->Fields(0).AsInteger(),
                        ds->Fields(1).AsString(), ds->Fields(2).AsString(), ds->Fields(3).AsLargeInt(),
                        ds->Fields(4).AsInteger());
}

}  // namespace

int ComandoDemo(const TOpcoesDemo& aOpcoes, std::ostream& aOut, std::ostream& aErr) {
  const std::string banco = nConfig().Banco;
  auto inicio = std::chrono::steady_clock::now();
  try {
    if (aOpcoes.EmpresaGrande()) {
      nHost::TParamEmpresaGrande p;
      if (aOpcoes.Empresa) p.CodigoEmpresa = *aOpcoes.Empresa;
      if (aOpcoes.Lancamentos) p.Lancamentos = *aOpcoes.Lancamentos;
      if (aOpcoes.Contas) p.Contas = *aOpcoes.Contas;
      if (aOpcoes.Tribunal) {
        const std::string& t = *aOpcoes.Tribunal;
        p.Sistema = t == "RS" ? nHost::sdRS : t == "PR" ? nHost::sdPR : t == "SE" ? nHost::sdSE : nHost::sdSC;
      }
      AbrirBanco(true);
      nHost::GerarEmpresaGrande(p);
      aOut << fmt::format("Empresa {}: {} lançamentos e {} contas em {:.1f} s ({}, TCE/{})\n", p.CodigoEmpresa,
                          p.Lancamentos, p.Contas, Segundos(inicio), banco, nHost::SiglaSistemaDemo(p.Sistema));
      return csSucesso;
    }
    // A new file appears only complete; an existing one, or a server's database, is refreshed in
    // one transaction.
    if (!EnderecoPostgreSQL(banco) && !std::filesystem::exists(banco))
      nHost::CriarBancoDemo(banco);
    else {
      AbrirBanco();
      nHost::GerarDemo();
    }
    double s = Segundos(inicio);
    AbrirBanco();
    aOut << fmt::format("Banco de demonstração {} gerado em {:.1f} s:\n", banco, s);
    ImprimirEmpresas(aOut);
  } catch (const std::exception& e) {
    aErr << "Erro: " << MensagemDeErro(e) << '\n';
    return csFalha;
  }
  return csSucesso;
}
