// The demo database's rows shared by every company: street types, entry histories and origins,
// banks, suppliers, accountants, and the four court systems with their charts, account types,
// movement types and the movement type of each origin.
#pragma once
#include <string>
#include <vector>

namespace nHost {

constexpr int kAnoDemo = 2024;

// Court systems of the demo, one per court.
enum TSistemaDemo { sdSC = 1, sdRS = 2, sdPR = 3, sdSE = 4 };
const char* SiglaSistemaDemo(int sistema);

// Entry origins.
namespace nOrigem {
inline constexpr const char* Manual = "01";
inline constexpr const char* Fiscal = "EF";
inline constexpr const char* Receber = "CR";
inline constexpr const char* Pagar = "CP";
inline constexpr const char* Folha = "FP";
inline constexpr const char* Patrimonio = "PA";
inline constexpr const char* Estoque = "ES";
inline constexpr const char* Bancos = "BC";
inline constexpr const char* Aplicacao = "AP";
inline constexpr const char* Resgate = "RF";
inline constexpr const char* Rendimento = "RA";
inline constexpr const char* Encerramento = "ZZ";
}  // namespace nOrigem
// The origins in the order they are registered (their index numbers the batches).
const std::vector<std::string>& OrigensDemo();

// Entry histories.
enum THistoricoDemo {
  hFaturamento = 1, hRecebimentoDuplicata, hRecebimentoEspecie, hTributosFaturamento, hCompraMateriais,
  hServicosTomados, hRetencao, hPagamentoDuplicata, hConsumoMateriais, hFolha, hEncargosFolha, hProvisoes,
  hPagamentoSalarios, hAdiantamentoSalarial, hRecolhimentoTributos, hDepreciacao, hAmortizacao, hTarifas,
  hRendimento, hAplicacao, hResgate, hTransferencia, hDeposito, hParcelaEmprestimo, hJuros, hSubvencao,
  hContasConsumo, hPagamentoContasConsumo, hFundoFixo, hApropriacaoSeguros, hEncerramento,
  hTransferenciaResultado, hBeneficios, hAquisicaoBem, hPerdasEstimadas, hImpostosLucro, hAluguel,
  hLancamentoManual, hDecimoTerceiro, hFerias, hSeguros, hRecuperacaoDespesas, hJurosMora
};

// What a supplier sells; decides the account, the operation code and the withholdings.
enum TRamoFornecedor { rfMateriais, rfCombustivel, rfVigilancia, rfLimpeza, rfManutencao, rfTecnologia,
                       rfConsultoria, rfInformatica, rfMoveis, rfVeiculos };
struct TFornecedorDemo {
  int Codigo;  // CODIGOPESSOA
  std::string Nome;
  std::string UF;
  TRamoFornecedor Ramo;
};
const std::vector<TFornecedorDemo>& FornecedoresDemo();

// Inserts every shared row. REQUIRES: an empty demo database inside a write transaction.
void GravarCadastrosDemo();

}  // namespace nHost
