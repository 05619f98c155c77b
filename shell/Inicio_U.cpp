#include "Inicio_U.h"

#include <CLI/CLI.hpp>
#include <cstdlib>
#include <filesystem>
#include <ostream>

#include "Classes_U.h"
#include "Configuracao_U.h"
#include "Contexto_U.h"
#include "Projeto_U.h"
#include "TextoMensagem_U.h"
#include "UlmoSMenu_U.h"
#include "UlmoSSplash_U.h"
#include "Utilitarios_U.h"
#include "Variant_U.h"

using namespace nFramework;

namespace {

TnPerModulos LerModulos(const std::string& aTexto) {
  TnPerModulos m;
  TStringList l;
  l.SetDelimitedText(aTexto, ',');
  for (const auto& item : l) {
    std::string t = Trim(item);
    if (t.empty()) continue;
    int n = StrToIntDef(t, -1);
    if (n < 0 || n > TnPerModulos::MaxModulo) throw EUso("--modules aceita números de 0 a 191 separados por vírgula");
    m.Incluir(n);
  }
  return m;
}

// Sets the selection key and the external variable of an option (--sistema, --empresa).
void Selecionar(const std::string& aValor, const char* aChave, const char* aVariavel, const char* aOpcao,
                std::ostream& aAvisos) {
  SetExternalVar(aVariavel, aValor);
  int64_t n;
  if (TryStrToInt64(aValor, n) && n >= 1) {
    TnSelecao::Params().Definir(aChave, TVariant(static_cast<long long>(n)));
  } else {
    TnSelecao::Params().Remover(aChave);
    aAvisos << aOpcao << ' ' << CitarValor(aValor) << " não é um código válido: nada foi selecionado\n";
  }
}

}  // namespace

void AdicionarOpcoesInicio(CLI::App& aApp, TOpcoesInicio& aOpcoes) {
  aApp.add_option("--db", aOpcoes.Banco, "Banco de dados (padrão: ulmo.db, ou ULMO_DB)");
  aApp.add_option("--config", aOpcoes.Configuracao, "Arquivo de configuração (padrão: ulmo.toml, ou ULMO_CONFIG)");
  aApp.add_option("--sistema", aOpcoes.Sistema, "Sistema TCE selecionado");
  aApp.add_option("--empresa", aOpcoes.Empresa, "Empresa selecionada");
  aApp.add_option_function<std::string>(
      "--modules",
      [&aOpcoes](const std::string& v) {
        aOpcoes.Modulos = v;
        aOpcoes.TemModulos = true;
      },
      "Módulos do menu, separados por vírgula (padrão: 8)");
  aApp.add_flag("--homologacao", aOpcoes.Homologacao, "Usa os ambientes de homologação");
  aApp.add_flag("--debug", aOpcoes.Debug, "Mostra as linhas de depuração");
}

void AplicarOpcoesInicio(TOpcoesInicio& aOpcoes, std::ostream& aAvisos) {
  std::string config = aOpcoes.Configuracao;
  if (config.empty()) {
    if (const char* c = std::getenv("ULMO_CONFIG"); c && *c) config = c;
    else if (std::filesystem::exists("ulmo.toml")) config = "ulmo.toml";
  }
  if (!config.empty()) CarregarConfiguracao(config);
  if (aOpcoes.Banco.empty())
    if (const char* d = std::getenv("ULMO_DB"); d && *d) aOpcoes.Banco = d;
  if (!aOpcoes.Banco.empty()) nConfig().Banco = aOpcoes.Banco;
  if (aOpcoes.Homologacao) nConfig().Homologacao = true;
  if (aOpcoes.TemModulos) nConfig().Modulos = LerModulos(aOpcoes.Modulos).Modulos();
  SelecionarSistemaEmpresa(aOpcoes.Sistema, aOpcoes.Empresa, aAvisos);
}

void SelecionarSistemaEmpresa(const std::string& aSistema, const std::string& aEmpresa, std::ostream& aAvisos) {
  if (!aSistema.empty()) Selecionar(aSistema, "CODIGOSISTEMATCE", "gCodigoSistemaTCEAtiva", "--sistema", aAvisos);
  if (!aEmpresa.empty()) Selecionar(aEmpresa, "CODIGOEMPRESA", "gCodigoEmpresaAtiva", "--empresa", aAvisos);
}

int ExecutarUlmo(int argc, char** argv) {
  Application().Inicializar(argc, argv);
  TnFrmMenuBrivo* FrmMenu = nullptr;
  ExecutarProjeto("TCE - Brivo", nClasseForm<TUlmoSSplash>(), nClasseForm<TUlmoSMenu>(), &FrmMenu, nullptr);
  return Application().ExitCode;
}
