#include "UlmoEsfingeOnlineSql_U.h"

namespace nUlmoEsfingeOnline {

std::string TUlmoEsfingeOnlineSql::GetSqlInsertCfgEmpresaTce() {
  return "insert into CFGEMPRESATCE  (CODIGOEMPRESA,   TOKENESFINGE)  values (%0:s, %1:s)";
}

std::string TUlmoEsfingeOnlineSql::GetSqlUpdateCfgEmpresaTce() {
  return "update CFGEMPRESATCE    set TOKENESFINGE = %1:s  where CODIGOEMPRESA = %0:s ";
}

std::string TUlmoEsfingeOnlineSql::GetSqlInsertTceEsfingeOnlineEnvio() {
  return "insert into TCEESFINGEONLINEENVIO  (CODIGOEMPRESA,   COMPETENCIA,   SEQ,   DATAENVIO,   STATUS,   "
         "CHAVEPACOTE,   CODIGOREGISTROINFORMACAO) values (%s, %s, %s, %s, %s, %s, %s)";
}

std::string TUlmoEsfingeOnlineSql::GetSqlUpdateTceEsfingeOnlineEnvio() {
  return "update TCEESFINGEONLINEENVIO    set STATUS = %s  where CODIGOEMPRESA = %s    and COMPETENCIA = %s    and "
         "SEQ = %s";
}

std::string TUlmoEsfingeOnlineSql::GetSqlConsultaTceEsfingeOnlineEnvio() {
  return "select CODIGOEMPRESA, COMPETENCIA, CAST(EXTRACT(YEAR FROM COMPETENCIA) * 100 + EXTRACT(MONTH FROM "
         "COMPETENCIA) AS INTEGER) AS LOTE, SEQ, DATAENVIO, STATUS, CHAVEPACOTE, CODIGOREGISTROINFORMACAO, CAST(0 AS "
         "INTEGER) SELECIONADO from TCEESFINGEONLINEENVIO where CODIGOEMPRESA =  %s and COMPETENCIA BETWEEN  %s and  "
         "%s ";
}

std::string TUlmoEsfingeOnlineSql::GetSqlConsultaContaSintetica() {
  return "select T.CONTACTB,        T.DATAINICIOPLANO,        T.CODIGOTIPOCONTATCE,        TIPO.DESCRTIPOCONTATCE,  "
         "      TP.DESCRCONTA,        T.DESCRDETALHCONTA,        TP.TIPOCONTA,        TP.CLASSIFCONTA CLASSIFCONTATCE, "
         "       T.TIPONATURSALDO,        T.CONTATCE,        cast ('' as VarChar(50)) CONTASINTETICA,        "
         "T.CODIGOBANCO,        B.NOMEBANCO,        T.NUMEROAGENCIA,        A.NOMEAGENCIA,        T.NUMEROCONTA,    "
         "    T.DATAFIMPLANO,        T.APLICFINANCEIRA,        P.DATAHORACADAST,        P.CLASSIFCONTA,        "
         "P.DESCRCONTA DESCRCONTAPLANOESPEC  from TCEPLANO TP  join TCEPLANOPLESPEC T    on TP.CODIGOSISTEMATCE = "
         "T.CODIGOSISTEMATCE   and TP.CONTATCE = T.CONTATCE  join PLANOESPEC P    on T.CODIGOEMPRESA = "
         "P.CODIGOEMPRESA   and T.CONTACTB      = P.CONTACTB  left join BANCO B    on T.CODIGOBANCO = B.CODIGOBANCO  "
         "left join AGENCIA A    on T.CODIGOBANCO   = A.CODIGOBANCO   and T.NUMEROAGENCIA = A.NUMEROAGENCIA  left "
         "join TCETIPOCONTACTB TIPO    on TP.CODIGOSISTEMATCE = TIPO.CODIGOSISTEMATCE   and T.CODIGOTIPOCONTATCE = "
         "TIPO.CODIGOTIPOCONTATCE where T.CODIGOEMPRESA = %s  and T.CODIGOSISTEMATCE = %s   and TP.TIPOCONTA = 1 and %s "
         "order by TP.CLASSIFCONTA";
}

}  // namespace nUlmoEsfingeOnline
