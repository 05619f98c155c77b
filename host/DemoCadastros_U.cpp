#include "DemoCadastros_U.h"

#include "Insercao_U.h"
#include "InscricaoFederal_U.h"
#include "PlanoDemo_U.h"
#include "TextUtils_U.h"

namespace nHost {

using namespace nFramework;

namespace {

const std::vector<std::pair<int, const char*>> kLogradouros = {
    {1, "Rua"}, {2, "Avenida"}, {3, "Praça"}, {4, "Travessa"}, {5, "Rodovia"}, {6, "Alameda"}, {7, "Estrada"}};

const std::vector<std::pair<const char*, const char*>> kOrigens = {
    {nOrigem::Manual, "Lançamentos Manuais"},
    {nOrigem::Fiscal, "Escrita Fiscal"},
    {nOrigem::Receber, "Contas a Receber"},
    {nOrigem::Pagar, "Contas a Pagar"},
    {nOrigem::Folha, "Folha de Pagamento"},
    {nOrigem::Patrimonio, "Controle Patrimonial"},
    {nOrigem::Estoque, "Controle de Estoque"},
    {nOrigem::Bancos, "Conciliação Bancária"},
    {nOrigem::Aplicacao, "Aplicações Financeiras"},
    {nOrigem::Resgate, "Resgates de Aplicações Financeiras"},
    {nOrigem::Rendimento, "Rendimentos de Aplicações Financeiras"},
    {nOrigem::Encerramento, "Encerramento do Exercício"},
};

// In the order of THistoricoDemo.
const std::vector<const char*> kHistoricos = {
    "Faturamento de serviços conforme nota fiscal",
    "Recebimento de duplicata",
    "Recebimento de cliente em espécie",
    "Tributos incidentes sobre o faturamento",
    "Compra de materiais conforme nota fiscal",
    "Serviços tomados conforme nota fiscal",
    "Retenção de tributos sobre serviços tomados",
    "Pagamento de duplicata",
    "Consumo de materiais do almoxarifado",
    "Folha de pagamento do mês",
    "Encargos sociais sobre a folha de pagamento",
    "Provisão de férias e 13º salário",
    "Pagamento de salários",
    "Adiantamento salarial",
    "Recolhimento de tributos",
    "Depreciação do mês",
    "Amortização do mês",
    "Tarifas bancárias",
    "Rendimento de aplicação financeira",
    "Aplicação financeira",
    "Resgate de aplicação financeira",
    "Transferência entre contas bancárias",
    "Depósito bancário",
    "Pagamento de parcela de empréstimo",
    "Juros sobre empréstimos e financiamentos",
    "Subvenção recebida do Município",
    "Contas de consumo",
    "Pagamento de contas de consumo",
    "Despesas pagas pelo fundo fixo",
    "Apropriação de seguros",
    "Encerramento do exercício - transferência para o resultado",
    "Transferência do resultado do exercício",
    "Pagamento de benefícios a empregados",
    "Aquisição de bem do ativo imobilizado",
    "Constituição de perdas estimadas com créditos",
    "Impostos sobre o lucro presumido",
    "Pagamento de aluguel",
    "Lançamento manual",
    "Pagamento de 13º salário",
    "Pagamento de férias",
    "Contratação de seguros",
    "Recuperação de despesas",
    "Juros de mora recebidos",
};

const std::vector<std::pair<int, const char*>> kBancos = {
    {1, "Banco do Brasil S.A."},
    {33, "Banco Santander (Brasil) S.A."},
    {41, "Banco do Estado do Rio Grande do Sul S.A."},
    {47, "Banco do Estado de Sergipe S.A."},
    {104, "Caixa Econômica Federal"},
    {237, "Banco Bradesco S.A."},
    {341, "Itaú Unibanco S.A."},
    {748, "Banco Cooperativo Sicredi S.A."},
    {756, "Banco Cooperativo Sicoob S.A."},
};

const std::vector<TFornecedorDemo> kFornecedores = {
    {1, "Distribuidora Catarinense de Materiais Ltda", "SC", rfMateriais},
    {2, "Papelaria e Livraria Central Ltda", "SC", rfMateriais},
    {3, "Comercial Elétrica Faísca Ltda", "PR", rfMateriais},
    {4, "Ferragens e Ferramentas Martelo Ltda", "RS", rfMateriais},
    {5, "Uniformes e EPIs Proteger Ltda", "SP", rfMateriais},
    {6, "Produtos de Limpeza Cristal Ltda", "SE", rfMateriais},
    {7, "Auto Posto Trevo Ltda", "SC", rfCombustivel},
    {8, "Posto de Combustíveis Estrela do Sul Ltda", "RS", rfCombustivel},
    {9, "Comércio de Combustíveis Araucária Ltda", "PR", rfCombustivel},
    {10, "Posto Atalaia Combustíveis Ltda", "SE", rfCombustivel},
    {11, "Vigilância Patrimonial Sentinela Ltda", "SC", rfVigilancia},
    {12, "Segurança Privada Guardião Ltda", "PR", rfVigilancia},
    {13, "Limpeza e Conservação Brilho Ltda", "RS", rfLimpeza},
    {14, "Serviços Gerais Asseio Total Ltda", "SE", rfLimpeza},
    {15, "Manutenção Predial Alicerce Ltda", "SC", rfManutencao},
    {16, "Engenharia e Manutenção Prumo Ltda", "PR", rfManutencao},
    {17, "Tecnologia e Sistemas Nuvem Sul Ltda", "RS", rfTecnologia},
    {18, "Consultoria Contábil e Tributária Prisma Ltda", "SP", rfConsultoria},
    {19, "Informática Bit a Bit Ltda", "SC", rfInformatica},
    {20, "Móveis para Escritório Ergon Ltda", "SP", rfMoveis},
    {21, "Concessionária de Veículos Rota Sul Ltda", "PR", rfVeiculos},
};

struct TContadorDemo {
  int Codigo;
  const char* Nome;
  uint32_t BaseCPF;
};
const std::vector<TContadorDemo> kContadores = {
    {1, "Mariana Albuquerque Teixeira", 418207356},
    {2, "Rafael Konrad Schmitt", 275903148},
    {3, "Fernanda Lopes Barreto", 630154872},
};

const std::vector<std::pair<int, const char*>> kSistemas = {
    {sdSC, "TCE/SC - e-Sfinge"}, {sdRS, "TCE/RS - SIAPC/PAD"}, {sdPR, "TCE/PR - SIM-AM"}, {sdSE, "TCE/SE - SAGRES"}};

// The chart of a court as its system writes it: TCE-RS without the zero levels.
std::string ClassifDoSistema(int sistema, const std::string& classif) {
  return sistema == sdRS ? ClassifSemNiveisZero(classif) : classif;
}

void GravarPlanoTCE(int sistema) {
  TInsercao plano("TCEPLANO",
                  "CODIGOSISTEMATCE, CONTATCE, TIPOCONTA, CLASSIFCONTA, DESCRCONTA, NATUREZAINFORMACAO, INDSUPERAVIT, "
                  "TIPOCONTROLECONTA");
  for (const auto& c : PlanoTCEDemo()) {
    TVariant natureza, superavit, controle;  // TCE-PR alone fills them
    if (sistema == sdPR) {
      char grupo = c.Classif[0];
      natureza = grupo >= '7' ? "C" : (grupo >= '5' ? "O" : "P");
      bool financeiro = c.Classif.rfind("1.1.1", 0) == 0 || c.Classif.rfind("2.1", 0) == 0;
      superavit = grupo >= '7' ? "O" : (financeiro ? "F" : "P");
      controle = "O";
    }
    plano.Linha({sistema, static_cast<long long>(ContaTCEDemo(c.Classif)), c.Analitica ? 2 : 1,
                 ClassifDoSistema(sistema, c.Classif), c.Descr, natureza, superavit, controle});
  }
}

}  // namespace

const char* SiglaSistemaDemo(int sistema) {
  switch (sistema) {
    case sdSC: return "SC";
    case sdRS: return "RS";
    case sdPR: return "PR";
    case sdSE: return "SE";
  }
  return "";
}

const std::vector<std::string>& OrigensDemo() {
  static const std::vector<std::string> origens = [] {
    std::vector<std::string> r;
    for (const auto& o : kOrigens) r.emplace_back(o.first);
    return r;
  }();
  return origens;
}

const std::vector<TFornecedorDemo>& FornecedoresDemo() { return kFornecedores; }

void GravarCadastrosDemo() {
  TInsercao logradouro("TIPOLOGRADOURO", "CODIGOTIPOLOGRAD, DESCRTIPOLOGRAD");
  for (const auto& [codigo, descr] : kLogradouros) logradouro.Linha({codigo, descr});

  TInsercao historico("HISTORICOCTB", "CODIGOHISTCTB, DESCRHISTCTB");
  for (size_t i = 0; i < kHistoricos.size(); ++i) historico.Linha({static_cast<int>(i) + 1, kHistoricos[i]});

  TInsercao origem("ORIGLCTOCTB", "CODIGOORIGLCTOCTB, DESCRORIGLCTOCTB");
  for (const auto& [codigo, descr] : kOrigens) origem.Linha({codigo, descr});

  TInsercao banco("BANCO", "CODIGOBANCO, NOMEBANCO");
  for (const auto& [codigo, nome] : kBancos) banco.Linha({codigo, nome});

  TInsercao pessoa("PESSOA", "CODIGOPESSOA, NOMEPESSOA, INSCRFEDERAL");
  for (const auto& f : kFornecedores) pessoa.Linha({f.Codigo, f.Nome, GerarCNPJ(10293847u + 7919u * f.Codigo)});

  TInsercao contador("CONTADOR", "CODIGOCONT, NOMECONT, INSCRFEDERAL");
  for (const auto& c : kContadores) contador.Linha({c.Codigo, c.Nome, GerarCPF(c.BaseCPF)});

  TInsercao sistema("TCESISTEMA", "CODIGOSISTEMATCE, DESCRSISTEMATCE, SIGLAESTADO, MASCPLANOTCE");
  TInsercao tipoConta("TCETIPOCONTACTB", "CODIGOSISTEMATCE, CODIGOTIPOCONTATCE, DESCRTIPOCONTATCE, BANCARIA");
  TInsercao tipoMovim("TCETIPOMOVIMCTB", "CODIGOSISTEMATCE, CODIGOTIPOMOVIMCTB, DESCRTIPOMOVIM");
  TInsercao origemTCE("TCEORIGEMLCTOCTB", "CODIGOSISTEMATCE, CODIGOORIGLCTOCTB, CODIGOTIPOMOVIMCTB");
  for (const auto& [codigo, descr] : kSistemas) {
    sistema.Linha({codigo, descr, SiglaSistemaDemo(codigo), "9.9.9.9.9.99.99"});
    GravarPlanoTCE(codigo);
    if (codigo == sdPR) continue;  // TCE-PR has no account types, movement types or origin links
    tipoConta.Linha({codigo, 1, "Caixa", "0"});
    tipoConta.Linha({codigo, 2, "Conta Corrente Bancária", "1"});
    tipoConta.Linha({codigo, 3, "Aplicação Financeira", "1"});
    tipoConta.Linha({codigo, 4, "Demais Contas", "0"});
    tipoMovim.Linha({codigo, 1, "Abertura do Exercício"});
    tipoMovim.Linha({codigo, 2, "Movimentação do Mês"});
    tipoMovim.Linha({codigo, 3, "Encerramento do Exercício"});
    for (const auto& [origemCodigo, descr] : kOrigens)
      origemTCE.Linha({codigo, origemCodigo, std::string(origemCodigo) == nOrigem::Encerramento ? 3 : 2});
  }
}

}  // namespace nHost
