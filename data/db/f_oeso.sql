-- Drug table of the frog oesophagus experiment ("f_oeso.mdb", table "Oeso").
--
-- One row per solution, in the order of the drug list. Row 0 must be Ringer's solution
-- (the baseline); row 2 gives the timing used when acetylcholine follows physostigmine.
-- The names "Ацетилхолин", "Атропин" and "Физостигмин" are what the interactions look for.
--
-- time1, time2: range of the interval (ms) between two steps of the seed; a seed run takes
--   about (3200 - 745) / step + 2 such intervals, so 200..235 ms gives 35..42 s at a step of 14.
-- speed1, speed2: range of the seed's step (twips per interval) in the examination.
-- Whole numbers, time1 <= time2 and speed1 <= speed2.

CREATE TABLE Oeso (Drug TEXT NOT NULL, speed1 REAL, speed2 REAL, time1 REAL, time2 REAL);

INSERT INTO Oeso VALUES ('Раствор Рингера', 13, 15, 200, 235);  -- about 35-42 s
INSERT INTO Oeso VALUES ('Ацетилхолин',     13, 15, 145, 165);  -- muscarinic stimulation: 26-29 s
INSERT INTO Oeso VALUES ('Физостигмин',     13, 15, 110, 130);  -- cholinesterase blocked, own acetylcholine acts: 19-23 s
INSERT INTO Oeso VALUES ('Атропин',         13, 15, 240, 270);  -- muscarinic block, basal cholinergic drive lost: 42-48 s
INSERT INTO Oeso VALUES ('Карбахол',        13, 15, 125, 145);  -- choline ester not split by cholinesterase: 22-26 s
INSERT INTO Oeso VALUES ('Пилокарпин',      13, 15, 150, 175);  -- muscarinic agonist: 27-31 s
INSERT INTO Oeso VALUES ('Тубокурарин',     13, 15, 200, 235);  -- nicotinic block only: no effect on cilia
