-- The golden files' database: the demo's four companies (one per court, the same chart) cut down
-- to a few days of entries, with the cases the court files must get right added to each.

-- A few days of January and of March, the financial applications, their income of January and
-- March, and the year's closing entries: February has no entry at all.
DELETE FROM LCTOCTB
 WHERE NOT (DATALCTOCTB BETWEEN '2024-01-01' AND '2024-01-04'
            OR DATALCTOCTB BETWEEN '2024-03-01' AND '2024-03-02'
            OR CODIGOORIGLCTOCTB IN ('AP', 'RF', 'ZZ')
            OR (CODIGOORIGLCTOCTB = 'RA' AND DATALCTOCTB NOT BETWEEN '2024-02-01' AND '2024-02-29'));

-- Cash moves to another court account from February: two mappings with their validity periods.
INSERT INTO TCEPLANOPLESPEC (CODIGOEMPRESA, CONTACTB, DATAINICIOPLANO, DATAFIMPLANO, DESCRDETALHCONTA,
                             CODIGOSISTEMATCE, CONTATCE, TIPONATURSALDO, APLICFINANCEIRA, TIPOSUPERAVITFINANC,
                             CODIGOTIPOCONTATCE, CODIGOBANCO, NUMEROAGENCIA, NUMEROCONTA, IDENTIFIPATQUALITATIVA)
SELECT M.CODIGOEMPRESA, M.CONTACTB, '2024-02-01', '2024-12-31', 'Caixa Geral a partir de fevereiro',
       M.CODIGOSISTEMATCE, O.CONTATCE, M.TIPONATURSALDO, M.APLICFINANCEIRA, M.TIPOSUPERAVITFINANC,
       M.CODIGOTIPOCONTATCE, M.CODIGOBANCO, M.NUMEROAGENCIA, M.NUMEROCONTA, M.IDENTIFIPATQUALITATIVA
  FROM TCEPLANOPLESPEC M
  JOIN TCEPLANOPLESPEC O ON O.CODIGOEMPRESA = M.CODIGOEMPRESA AND O.CONTACTB = 7
 WHERE M.CONTACTB = 5;
UPDATE TCEPLANOPLESPEC SET DATAFIMPLANO = '2024-01-31' WHERE CONTACTB = 5 AND DATAINICIOPLANO = '2024-01-01';

-- Texts at and past their fields' widths, with accents and a character Windows-1252 has only there.
UPDATE PLANOESPEC
   SET DESCRCONTA = 'Clientes - Pessoas Físicas de São José, Florianópolis e Criciúma — cobrança em ação  judicial ÇÃÉÍÓÚ'
 WHERE CONTACTB = 18;
UPDATE TCEPLANOPLESPEC
   SET DESCRDETALHCONTA = 'Descrição detalhada com acentuação: Caixa Econômica Federal, agência de São João d''Aliança, '
                          || 'conta de movimento para pagamentos, recebimentos e transferências entre contas próprias '
                          || 'da companhia (€ 1.234,56 não convertidos) ª e o fim do texto na posição 55.'
 WHERE CONTACTB = 9;

-- Amounts whose cents round half away from zero, a large one, and a credit that leaves cash negative.
INSERT INTO LCTOCTB (CODIGOEMPRESA, CHAVELCTOCTB, CODIGOESTAB, DATALCTOCTB, CONTACTBDEB, CONTACTBCRED, VALORLCTOCTB,
                     CODIGOHISTCTB, COMPLHIST, CODIGOLOTECTB, CODIGOORIGLCTOCTB)
SELECT CODIGOEMPRESA, 900001, 1, '2024-01-05', 18, 188, 0.125, 1, 'Centavo arredondado: 0,125', 9001, '01' FROM EMPRESA
UNION ALL
SELECT CODIGOEMPRESA, 900002, 1, '2024-01-05', 5, 18, 2.675, 2, 'Centavo arredondado: 2,675', 9001, '01' FROM EMPRESA
UNION ALL
SELECT CODIGOEMPRESA, 900003, 1, '2024-03-04', 18, 5, 987654321.99, 3,
       'Pagamento em espécie que deixa o caixa negativo — histórico longo com acentuação e símbolos (ª e º existem '
       || 'no Windows-1252, € existe): aquisição de serviços técnicos especializados de manutenção predial, elétrica e '
       || 'hidráulica, contrato nº 12/2024 -OK', 9002, '01' FROM EMPRESA
UNION ALL
SELECT CODIGOEMPRESA, 900004, 1, '2024-03-04', 8, NULL, 0.01, 1, 'Lançamento só a débito', 9002, '01' FROM EMPRESA;
