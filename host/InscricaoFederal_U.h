// Brazilian federal registrations with their check digits: CNPJ (companies, 14 digits) and
// CPF (people, 11 digits), written with the usual punctuation.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace nHost {

// "12.345.678/0001-95" from the 8-digit root and the establishment number.
std::string GerarCNPJ(uint32_t raiz, int filial = 1);
// "123.456.789-09" from the 9-digit base.
std::string GerarCPF(uint32_t base);
// Whether the digits of the text (punctuation ignored) form a valid CNPJ or CPF.
bool CNPJValido(std::string_view texto);
bool CPFValido(std::string_view texto);

}  // namespace nHost
