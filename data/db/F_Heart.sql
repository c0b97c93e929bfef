-- Drug table of the heart program ("F_Heart.mdb", table "heart_drug"). Exactly 8 rows:
-- the examinations use the positions (row 1 adrenaline "Epi", row 6 acetylcholine "ACh").
--
-- key: what the model recognises: Epi, NEpi, Iso, Prop, ACh, Atr, CaCl, KCl.
-- L_StART, L_End: the two ends of the recorded stroke while the drug acts, pixels from the top
--   of the recording; only these pairs move the lever: 50/80 (control), 90/40, 80/44, 85/30,
--   35/36 (calcium contracture), 80/60, 69/59, 84/85 (potassium arrest), 80/49.
-- Dose: µg, shown only.
-- hr_START, hr_END: range of the rate change, beats per minute (hr_START <= hr_END). The basal
--   rate is 59 to 91, so an increase may not pass 164 and a decrease not 58.
-- tone: I raised, D lowered, N unchanged.
-- hr_indicator: I increase, D decrease, O arrest, P held at the last rate, N no change.

CREATE TABLE heart_drug (Name TEXT NOT NULL, key TEXT NOT NULL, L_StART INTEGER, L_End INTEGER, Dose REAL,
                         hr_START INTEGER, hr_END INTEGER, tone TEXT, hr_indicator TEXT);

INSERT INTO heart_drug VALUES ('Адреналин',      'Epi',  90, 40,    5, 15, 30, 'I', 'I');  -- beta1 and alpha: faster, stronger
INSERT INTO heart_drug VALUES ('Кальция хлорид', 'CaCl', 35, 36, 2000,  0,  0, 'I', 'O');  -- systolic contracture
INSERT INTO heart_drug VALUES ('Калия хлорид',   'KCl',  84, 85, 1000,  0,  0, 'D', 'O');  -- diastolic arrest
INSERT INTO heart_drug VALUES ('Атропин',        'Atr',  50, 80,   10,  2,  6, 'N', 'I');  -- M-block: little change in an isolated heart
INSERT INTO heart_drug VALUES ('Пропранолол',    'Prop', 80, 60,   50,  5, 12, 'N', 'D');  -- beta-block: slower, weaker
INSERT INTO heart_drug VALUES ('Ацетилхолин',    'ACh',  69, 59,    1, 15, 30, 'D', 'D');  -- M2: slower, much weaker
INSERT INTO heart_drug VALUES ('Норадреналин',   'NEpi', 80, 44,    5,  5, 15, 'I', 'I');  -- mainly alpha, some beta1
INSERT INTO heart_drug VALUES ('Изопреналин',    'Iso',  85, 30,    2, 25, 45, 'I', 'I');  -- beta1 and beta2: strongest increase
