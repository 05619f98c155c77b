// The menu row of every class the module registers: module set, category, caption, order,
// image, selection keys and the framework's flags. Module data that all four libraries need
// and none may link from another, so it is a header-only table; each class finds its own row
// (UlmoMenuRegra_U.h) when it builds its action.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace nUlmoMenu {

enum TTipoLinha : uint8_t {
  tlPrincipal,     // an action in the module's menus
  tlAreaTrabalho,  // an action under the accounting module's court work area
  tlSemAcao,       // registered, offers no action
};

// The class's module set K.
enum TModulos : uint8_t { K1 = 1, K8 = 2, K1e8 = K1 | K8 };

struct TLinhaMenu {
  std::string_view Classe{};
  char Biblioteca{};  // 'A' UlmoPkPb, 'B' UlmoPkPbDevExpress, 'C' UlmoPkDevExpress, 'D' UlmoPk
  TTipoLinha Tipo{};
  uint8_t Modulos = 0;
  std::string_view Categoria{};  // work-area rows: the suffix after the work area's category
  std::string_view Caption{};
  std::optional<int> Ordem{};   // nullopt: the framework's default
  std::optional<int> Imagem{};
  // The class's own PegarVerificaSelecao; nullopt when the class keeps the base's.
  std::optional<std::string_view> Selecao{};
  std::optional<bool> Flag1{};
  std::optional<bool> Flag2{};
  std::optional<bool> AreaTrabalho{};
  std::optional<bool> ControlaDireito{};
  bool Limpar = false;  // clears the container class name and the text beside it
};

inline constexpr std::string_view CategoriaAreaTrabalho = "00 Áreas de Trabalho\\06 Tribunal de Contas (TCE)\\";
inline constexpr std::string_view ContainerAreaTrabalho = "TKaloDPAreaTrabalhoTCE";

inline constexpr std::optional<std::string_view> SelBase = std::nullopt;
inline constexpr std::optional<std::string_view> SelVazia = std::string_view();

// clang-format off
inline constexpr std::array<TLinhaMenu, 51> LinhasMenu{{
  // Main actions.
  {.Classe = "TUlmoDMSistema", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8, .Categoria = "10 Cadastros",
   .Caption = "Sistema", .Ordem = 10, .Selecao = SelBase},
  {.Classe = "TUlmoDMPlano", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8, .Categoria = "10 Cadastros",
   .Caption = "Plano de Contas TCE", .Ordem = 20, .Imagem = 107, .Selecao = "CodigoSistemaTCE"},
  {.Classe = "TUlmoDMPlanoPlEspec", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8, .Categoria = "10 Cadastros",
   .Caption = "Plano de Contas Específico TCE", .Ordem = 30, .Imagem = 108, .Selecao = "CodigoSistemaTCE;CodigoEmpresa",
   .AreaTrabalho = false, .Limpar = true},
  {.Classe = "TUlmoDMTipoContaCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8, .Categoria = "10 Cadastros",
   .Caption = "Tipo de Contas Contábeis", .Ordem = 40, .Selecao = "CodigoSistemaTCE"},
  {.Classe = "TUlmoDMTipoMovimCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8, .Categoria = "10 Cadastros",
   .Caption = "Tipo Movimento Contábil", .Ordem = 50, .Selecao = "CodigoSistemaTCE"},
  {.Classe = "TUlmoDPRelacionarBens", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "10 Cadastros\\80 TCE/PR", .Caption = "Relacionar Bens", .Ordem = 10, .Selecao = SelVazia,
   .Flag2 = true, .AreaTrabalho = false, .ControlaDireito = true},
  {.Classe = "TUlmoDMTCEOrigemLctoCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8, .Categoria = "01 Cadastros",
   .Caption = "Origem Lançamento", .Ordem = 60, .Selecao = "CodigoSistemaTCE"},
  {.Classe = "TUlmoDPRelacionarPlanoPlEspec", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "01 Cadastros", .Caption = "Relacionar Plano TCE", .Ordem = 40, .Selecao = SelVazia,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false},
  {.Classe = "TUlmoDCSistema", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "01 Cadastros\\00 Consultas", .Caption = "Sistema", .Selecao = SelBase,
   .Flag2 = false, .ControlaDireito = false},
  {.Classe = "TUlmoDCPlano", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "01 Cadastros\\00 Consultas", .Caption = "Plano de Contas TCE", .Ordem = 0, .Selecao = SelBase,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false, .Limpar = true},
  {.Classe = "TUlmoDCPlanoPlEspec", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "01 Cadastros\\00 Consultas", .Caption = "Plano de Contas Específico TCE", .Selecao = SelBase,
   .Flag2 = false, .ControlaDireito = false},
  {.Classe = "TUlmoDCTipoContaCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "01 Cadastros\\00 Consultas", .Caption = "Tipo de Contas Contábeis", .Selecao = SelBase,
   .Flag2 = false, .ControlaDireito = false},
  {.Classe = "TUlmoDCTipoMovimCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "01 Cadastros\\00 Consultas", .Caption = "Tipo Movimento Contábil", .Selecao = SelBase,
   .Flag2 = false, .ControlaDireito = false},
  {.Classe = "TUlmoDCTCEOrigemLctoCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "01 Cadastros\\00 Consultas", .Caption = "Origem Lançamento", .Selecao = SelBase,
   .Flag2 = false, .ControlaDireito = false},
  {.Classe = "TUlmoDCPatBemTipoCategoriaBem", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "", .Caption = "Tipo Categoria Bem", .Ordem = 0, .Selecao = SelBase,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false, .Limpar = true},
  {.Classe = "TUlmoDCPatBemTipoDetalhamentoBem", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1e8,
   .Categoria = "", .Caption = "Tipo Detalhamento Bem", .Ordem = 0, .Selecao = SelBase,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false, .Limpar = true},
  {.Classe = "TUlmoDMPatBemTipoCategoriaBem", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "", .Caption = "Tipo Categoria Bem", .Ordem = 0, .Selecao = SelBase,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false, .Limpar = true},
  {.Classe = "TUlmoDMPatBemTipoDetalhamentoBem", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "", .Caption = "Tipo Detalhamento Bem", .Ordem = 0, .Selecao = SelBase,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false, .Limpar = true},
  {.Classe = "TUlmoDCTCESistemaEmpresa", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K1,
   .Categoria = "", .Caption = "Cadastro Empresa", .Ordem = 0, .Selecao = SelBase,
   .Flag2 = false, .AreaTrabalho = false, .ControlaDireito = false, .Limpar = true},
  {.Classe = "TUlmoDPGerarArquivosCtb", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "110 Arquivos", .Caption = "Gerar Arquivos Contábeis - SC", .Ordem = 10, .Selecao = "CodigoSistemaTCE"},
  {.Classe = "TUlmoDPEnviarArquivosCtbeSFinge", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "110 Arquivos", .Caption = "Enviar Arquivos Contábeis e-Sfinge Web - SC", .Ordem = 20,
   .Selecao = "CodigoSistemaTCE"},
  {.Classe = "TUlmoDPGerarArquivosCtbRS", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "110 Arquivos", .Caption = "Gerar Arquivos Contábeis - RS", .Ordem = 30, .Selecao = "CodigoSistemaTCE",
   .Flag1 = true},
  {.Classe = "TUlmoDPGerarArquivosCtbPR", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "110 Arquivos", .Caption = "Gerar Arquivos Contábeis - PR", .Ordem = 40, .Selecao = SelBase,
   .Flag1 = true},
  {.Classe = "TUlmoDPGerarArquivosCtbSagresWebSE", .Biblioteca = 'B', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "110 Arquivos", .Caption = "Gerar Arquivos Contábeis Sagres Web - SE", .Ordem = 50,
   .Selecao = "CodigoSistemaTCE", .Flag1 = true},
  {.Classe = "TUlmoDPConsultaSfingeOnlineDadosEnviados", .Biblioteca = 'A', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "20 Consultas", .Caption = "Consulta Arquivos Contábeis e-Sfinge Online", .Ordem = 20, .Imagem = 398,
   .Selecao = "CODIGOSISTEMATCE;CODIGOEMPRESA", .Flag1 = true, .Flag2 = true, .AreaTrabalho = true,
   .ControlaDireito = false},
  {.Classe = "TUlmoDPTCESagresPgto", .Biblioteca = 'C', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "10 Cadastros\\70 TCE/SE", .Caption = "Pagamentos", .Ordem = 10, .Selecao = "CodigoEmpresa"},
  {.Classe = "TUlmoDPTCESESagresReceita", .Biblioteca = 'C', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "10 Cadastros\\70 TCE/SE", .Caption = "Receitas", .Ordem = 20, .Selecao = "CodigoEmpresa"},
  {.Classe = "TUlmoDPTCESagresDespesa", .Biblioteca = 'C', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "10 Cadastros\\70 TCE/SE", .Caption = "Despesas", .Ordem = 30, .Selecao = "CodigoEmpresa"},
  {.Classe = "TUlmoDMTCESESagresContaBanc", .Biblioteca = 'D', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "10 Cadastros\\70 TCE/SE", .Caption = "Contas Bancárias", .Ordem = 40, .Selecao = "CodigoEmpresa"},
  {.Classe = "TUlmoDPTCESagresPatrimonio", .Biblioteca = 'C', .Tipo = tlPrincipal, .Modulos = K8,
   .Categoria = "10 Cadastros\\70 TCE/SE", .Caption = "Patrimônio", .Ordem = 50, .Selecao = "CodigoEmpresa"},

  // Work-area actions: the category is the suffix after CategoriaAreaTrabalho.
  {.Classe = "TUlmoDMSistemaAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Sistema", .Ordem = 10, .Selecao = SelBase},
  {.Classe = "TUlmoDMPlanoAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Plano de Contas TCE", .Ordem = 20, .Selecao = SelVazia},
  {.Classe = "TUlmoDMPlanoPlEspecAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Planos de Contas Específico TCE", .Ordem = 30, .Selecao = "CodigoEmpresa"},
  {.Classe = "TUlmoDMTipoContaCtbAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Tipo de Contas Contábeis", .Ordem = 40, .Selecao = SelVazia},
  {.Classe = "TUlmoDMTipoMovimCtbAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Tipo Movimentos Contábil", .Ordem = 50, .Selecao = SelVazia},
  {.Classe = "TUlmoDMTCEOrigemLctoCtbAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Origem Lançamento", .Ordem = 60, .Selecao = SelVazia},
  {.Classe = "TUlmoDMTCESistemaEmpresa", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Cadastro Empresa", .Ordem = 70, .Selecao = SelBase},
  {.Classe = "TUlmoDPRelacionarBensAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Relacionar Bens", .Ordem = 80, .Selecao = SelVazia},
  {.Classe = "TUlmoDPRelacionarPlanoPlEspecAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "10 Cadastros", .Caption = "Relacionar Plano Pl Espec", .Ordem = 90, .Selecao = SelVazia},
  {.Classe = "TUlmoDPConsultaSfingeOnlineDadosEnviadosAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho,
   .Modulos = K1, .Categoria = "20 Consultas", .Caption = "Consulta Arquivos Contábeis e-Sfinge Online", .Ordem = 10,
   .Selecao = SelVazia},
  {.Classe = "TUlmoDPGerarArquivosCtbAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "30 Arquivos", .Caption = "Gerar Arquivos Contábeis - SC", .Ordem = 10, .Selecao = SelVazia},
  {.Classe = "TUlmoDPGerarArquivosCtbRSAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "30 Arquivos", .Caption = "Gerar Arquivos Contábeis - RS", .Ordem = 20, .Selecao = SelVazia},
  {.Classe = "TUlmoDPGerarArquivosCtbPRAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho, .Modulos = K1,
   .Categoria = "30 Arquivos", .Caption = "Gerar Arquivos Contábeis - PR", .Ordem = 30, .Selecao = SelBase},
  {.Classe = "TUlmoDPGerarArquivosCtbSagresWebSEAreaTrabalho", .Biblioteca = 'B', .Tipo = tlAreaTrabalho,
   .Modulos = K1, .Categoria = "30 Arquivos", .Caption = "Gerar Arquivos Contábeis Sagres Web - SE", .Ordem = 40,
   .Selecao = SelVazia},
  {.Classe = "TUlmoDPEnviarArquivosCtbeSFingeAreaTrabalho", .Biblioteca = 'A', .Tipo = tlAreaTrabalho,
   .Modulos = K1, .Categoria = "30 Arquivos", .Caption = "Enviar Arquivos Contábeis e-Sfinge Web - SC", .Ordem = 50,
   .Selecao = SelVazia},

  // Registered without an action of their own.
  {.Classe = "TUlmoFPConsultaSfingeOnlineDadosEnviados", .Biblioteca = 'C', .Tipo = tlSemAcao},
  {.Classe = "TUlmoFPEnviarArquivoCtbeSFinge", .Biblioteca = 'C', .Tipo = tlSemAcao},
  {.Classe = "TUlmoDMTceESfingeOnlineEnvio", .Biblioteca = 'D', .Tipo = tlSemAcao},
  {.Classe = "TUlmoDCTceESfingeOnlineEnvio", .Biblioteca = 'D', .Tipo = tlSemAcao},
  {.Classe = "TUlmoDMCfgEmpresaTce", .Biblioteca = 'D', .Tipo = tlSemAcao},
  {.Classe = "TUlmoDCCfgEmpresaTce", .Biblioteca = 'D', .Tipo = tlSemAcao},
}};
// clang-format on

}  // namespace nUlmoMenu
