-- Substance table of the rabbit-eye experiment ("Rab_Eye.mdb", table "R_Eye").
--
-- L_Reflex: light reflex  Y present, N absent, B present only while the pupil is wide enough
--           (a strongly narrowed pupil cannot narrow further under the torch).
-- C_Reflex: corneal reflex  Y present, N absent.
-- I_Tension: intraocular tension  N normal, D decreased, I increased.
-- P_size1, P_size2: range of the pupil change (positive widens, negative narrows; the pupil
--           box grows by 5 twips per unit). Not below -99.
-- The saline control must be the last row.

CREATE TABLE R_Eye (D_Name TEXT NOT NULL, L_Reflex TEXT, C_Reflex TEXT, I_Tension TEXT,
                    P_size1 INTEGER, P_size2 INTEGER);

INSERT INTO R_Eye VALUES ('Атропин',     'N', 'Y', 'I',  40,  60);  -- M-block: wide fixed pupil, outflow impaired
INSERT INTO R_Eye VALUES ('Гоматропин',  'N', 'Y', 'I',  30,  45);  -- shorter-acting M-blocker
INSERT INTO R_Eye VALUES ('Мезатон',     'Y', 'Y', 'N',  20,  35);  -- alpha1-agonist: mydriasis, light reflex kept
INSERT INTO R_Eye VALUES ('Адреналин',   'Y', 'Y', 'D',  10,  25);  -- mild mydriasis, less aqueous humour
INSERT INTO R_Eye VALUES ('Кокаин',      'Y', 'N', 'N',  15,  30);  -- local anaesthetic and mydriatic
INSERT INTO R_Eye VALUES ('Дикаин',      'Y', 'N', 'N',   0,   0);  -- local anaesthetic, pupil unchanged
INSERT INTO R_Eye VALUES ('Пилокарпин',  'B', 'Y', 'D', -80, -60);  -- M-agonist: miosis, better outflow
INSERT INTO R_Eye VALUES ('Физостигмин', 'B', 'Y', 'D', -70, -50);  -- anticholinesterase: miosis
INSERT INTO R_Eye VALUES ('Физиологический раствор', 'Y', 'Y', 'N', 0, 0);  -- control, keep last
